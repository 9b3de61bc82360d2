#include "ui/BankFileDialog.h"

#include "ui/ModalRunner.h"

#include <QFileInfo>

namespace lumivane {
namespace {

constexpr const char* PATTERN_FILE_FILTER = "Pattern Files (*.pat)";
constexpr const char* ALL_FILES_FILTER = "All Files (*)";
constexpr const char* BANK_SUFFIX = "pat";

// The folder of a chosen file as the profile keeps it: with a trailing '/'.
QString folderOf(const QString& file) {
    QString folder = QFileInfo(file).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

BankFileDialog::BankFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                               const QString& startFolder)
    : QFileDialog(parent,
                  QString::fromLatin1(mode == AcceptSave ? SAVE_BANK_TITLE : LOAD_BANK_TITLE),
                  startFolder) {
    setObjectName(QStringLiteral("bankFileDialog"));
    setAcceptMode(mode);
    setFileMode(mode == AcceptSave ? AnyFile : ExistingFile);
    setNameFilters(
        {QString::fromLatin1(PATTERN_FILE_FILTER), QString::fromLatin1(ALL_FILES_FILTER)});
    setDefaultSuffix(QString::fromLatin1(BANK_SUFFIX));
    setOption(DontConfirmOverwrite, false);
}

std::optional<QString> BankFileDialog::choose(QWidget* parent, DialogContext context,
                                              QFileDialog::AcceptMode mode) {
    const ScopedModal<BankFileDialog> chooser(
        parent, mode, context.patternPath ? context.patternPath() : QString());
    // Gone with its parent, or cancelled.
    if (context.runner->exec(*chooser) != QDialog::Accepted || !chooser)
        return std::nullopt;
    const QStringList chosen = chooser->selectedFiles();
    if (chosen.isEmpty() || chosen.constFirst().isEmpty())
        return std::nullopt;
    if (context.setPatternPath)
        context.setPatternPath(folderOf(chosen.constFirst()));
    return chosen.constFirst();
}

} // namespace lumivane
