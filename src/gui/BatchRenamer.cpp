#include "gui/BatchRenamer.h"

#include "gui/QtText.h"

#include <QMetaObject>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace quillon::gui {

TBatchRenamer::TBatchRenamer(QObject* parent) : QObject(parent), Files(std::make_shared<TRenameFileSystem>()) {
    qRegisterMetaType<quillon::TBatchRow>("quillon::TBatchRow");
}

void TBatchRenamer::Start(const QString& folder, const TRenameRule& rule, TLanguage language) {
    if (IsRunning)
        return;
    IsRunning = true;
    StopFlag = std::make_shared<std::atomic<bool>>(false);
    QPointer<TBatchRenamer> self(this);
    // Everything the worker needs is copied in: the language and rule cannot change under it.
    (void)QtConcurrent::run([self, files = Files, dir = ToPath(folder), rule, language, stop = StopFlag] {
        const auto post = [self](auto&& f) {
            QMetaObject::invokeMethod(self.data(), std::forward<decltype(f)>(f), Qt::QueuedConnection);
        };
        const auto shouldStop = [stop] { return stop->load(); };
        const std::vector<TBatchItem> items = ListBatch(dir, *files, shouldStop);
        const int total = static_cast<int>(items.size());
        post([self, total] {
            if (self)
                emit self->Listed(total);
        });
        TBatchOptions options;
        options.Rule = rule;
        options.Language = language;
        options.ShouldStop = shouldStop;
        options.OnRow = [&post, self](const TBatchRow& row) {
            post([self, row] {
                if (self)
                    emit self->Row(row);
            });
        };
        const bool completed = !shouldStop() && RenameListed(items, options, *files);
        post([self, completed] {
            if (!self)
                return;
            self->IsRunning = false;
            emit self->Finished(!completed);
        });
    });
}

} // namespace quillon::gui
