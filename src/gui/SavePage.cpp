#include "gui/SavePage.h"

#include "core/platform/AtomicFile.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/Tr.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <system_error>

namespace quillon::gui {

bool WriteChosenPage(QWidget* parent, IMessageBoxes& boxes, const QString& path, const std::string& page,
                     TLanguage language) {
    std::string reason;
    const bool replace = QFileInfo::exists(path);
    const bool written = replace ? WriteFileAtomically(ToPath(path), page)
                                 : WriteNewFile(ToPath(path), page, &reason) == TRenameResult::Renamed;
    if (written)
        return true;
    if (reason.empty()) // the system's word for what failed last
        reason = std::generic_category().message(errno);
    boxes.Error(parent, Tr(AppString::ReportFailed, language, {ToUtf8(QDir::toNativeSeparators(path)), reason}));
    return false;
}

} // namespace quillon::gui
