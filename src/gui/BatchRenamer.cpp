#include "gui/BatchRenamer.h"

#include "gui/QtText.h"

namespace quillon::gui {

TBatchRenamer::TBatchRenamer(QObject* parent) : QObject(parent), Files(std::make_shared<TRenameFileSystem>()) {
    qRegisterMetaType<quillon::TBatchRow>("quillon::TBatchRow");
}

void TBatchRenamer::Start(const QString& folder, const TRenameRule& rule, TLanguage language) {
    // Everything the worker needs is copied in: the language and rule cannot change under it.
    Job.Start([this, files = Files, dir = ToPath(folder), rule, language](const TStopFlag& stop,
                                                                          const TBackgroundJob::TPost& post) {
        const std::vector<TBatchItem> items = ListBatch(dir, *files, stop);
        const int total = static_cast<int>(items.size());
        post([this, total] { emit Listed(total); });
        TBatchOptions options;
        options.Rule = rule;
        options.Language = language;
        options.Stop = stop;
        options.OnRow = [this, &post](const TBatchRow& row) { post([this, row] { emit Row(row); }); };
        const bool completed = !stop.Requested() && RenameListed(items, options, *files);
        post([this, completed] {
            Job.Ended();
            emit Finished(!completed);
        });
    });
}

} // namespace quillon::gui
