#pragma once

#include "ReplayWriter.h"
#include "SampleGames.h"
#include "gui/MainWindow.h"
#include "gui/MessageBoxes.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>

namespace quillon::guitest {

/// Message boxes that answer from a queue and remember what they were asked.
class TFakeBoxes : public gui::IMessageBoxes {
public:
    void Inform(QWidget*, const QString& text) override { Informed << text; }
    bool Ask(QWidget*, const QString& text) override {
        Asked << text;
        const bool answer = Answers.empty() ? false : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        return answer;
    }
    void Error(QWidget*, const QString& text) override { Errors << text; }
    QString ChooseFolder(QWidget*, const QString& start) override {
        ChooserStarts << start;
        return Folder;
    }

    QString ChooseFile(QWidget*, const QString&, const QString& start, const QString&) override {
        ChooserStarts << start;
        return File;
    }
    QString ChooseSaveFile(QWidget*, const QString&, const QString& start, const QString&) override {
        ChooserStarts << start;
        return SaveFile;
    }

    QStringList Informed, Asked, Errors, ChooserStarts;
    std::deque<bool> Answers;
    QString Folder, File, SaveFile;
};

/// A 1v1 of patch 1.26 between two named players; the second leaves first, so the first wins.
testing::TBytes Duel(const std::string& winner, const std::string& loser);

/// Writes bytes to a file; returns its path.
QString WriteFile(const QString& path, const testing::TBytes& bytes);

/// A window over a temporary folder, with fake boxes and its own settings file.
struct TWindowFixture {
    explicit TWindowFixture(const QString& settingsText = {});
    ~TWindowFixture();
    QString Path(const QString& name) const { return Dir.filePath(name); }
    /// Selects a file by clicking its entry in the file list, then waits until it is shown.
    bool SelectAndWait(const QString& name);
    /// Opens a path as a second start or the command line would, then waits for the load.
    bool OpenAndWait(const QString& path);
    /// Closes the window as the user would (it writes its settings) and starts a new one on the same files.
    void Restart();

    QTemporaryDir Dir;
    QString SettingsFile;
    QString LibraryFile;
    TFakeBoxes Boxes;
    std::unique_ptr<gui::TQuillonMain> Window;

private:
    void Start();
};

/// Where the screenshots for reviewers go.
QString ScreenshotPath(const QString& name);

} // namespace quillon::guitest
