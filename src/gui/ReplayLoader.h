#pragma once

#include "core/replay/LoadReplay.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace quillon::gui {

/// Loads replays off the window's thread. The latest request wins: results of older requests are dropped.
class TReplayLoader : public QObject {
    Q_OBJECT
public:
    using TLoadFunction = std::function<TLoadResult(const std::string& path, uint8_t detail)>;

    explicit TReplayLoader(QObject* parent = nullptr);
    /// Tests put a slower or failing load in place of the real one.
    void SetLoadFunction(TLoadFunction load) { Load = std::move(load); }

    void Request(const QString& path, uint8_t detail);

signals:
    /// The result of the latest request, loaded or failed.
    void Finished(const QString& path, std::shared_ptr<quillon::TLoadResult> result);

private:
    TLoadFunction Load;
    uint64_t Generation = 0;
};

} // namespace quillon::gui
