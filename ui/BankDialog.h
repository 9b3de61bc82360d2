// "Work with Pattern Banks": the pattern set on the left, a bank on the right;
// patterns go from the set into the bank, banks go to and from files, and the
// bank can be added to, merged into or put in place of the set. The dialog
// works on a copy of the set, which the caller takes over only after OK; bank
// files saved meanwhile stay saved either way.
#pragma once

#include "patterns/DataStore.h"
#include "ui/DialogBase.h"

#include <QDialog>

#include <memory>
#include <optional>

class QCheckBox;
class QPushButton;

namespace lumivane {

class DropDownList;
class KaleidoView;
class QuickHelp;
class Scene;

inline constexpr const char* BANK_DIALOG_TITLE = "Work with Pattern Banks";

class BankDialog : public DialogBase {
    Q_OBJECT

  public:
    // Works on a copy of the application's set.
    BankDialog(const DialogContext& context, const DataStore& set, QWidget* parent = nullptr);
    ~BankDialog() override;

    // The set as the dialog leaves it, to be taken over after OK.
    const DataStore& set() const { return set_; }
    const DataStore& bank() const { return bank_; }
    KaleidoView* setPreview() const { return setPreview_; }
    KaleidoView* bankPreview() const { return bankPreview_; }
    bool quickHelpActive() const;
    // The help text of the control with this template id; empty for none.
    static QString helpText(int id);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void connectControls();

    void pausePreviews();
    // Resumes each preview whose animate box is checked.
    void resumePreviews();
    // The end of every action: the checked previews run again, and the focus
    // goes to the sink when no focus mark may show.
    void finishAction();
    // The pattern in the preview's own record, set up afresh and drawn once,
    // so that a paused preview shows it too.
    void showInPreview(KaleidoView* preview, Scene* scene, Pattern& record, const Pattern& shown);
    void showSetPattern();
    void showBankPattern();
    void fillList(DropDownList* list, const DataStore& store);
    void appendNames(DropDownList* list, const DataStore& store);
    void emptyBank();
    // Runs a bank file dialog; the chosen file, or nothing when cancelled.

    // Quick help: shows the text of control id when the mode is on.
    bool explain(int id);
    void showQuickHelp(const QString& text);
    void pressQuickHelp();

    void chooseSetPattern();
    void chooseBankPattern();
    void closeSetList();
    void closeBankList();
    void toggleAnimation(int id, QCheckBox* box);
    void copyCurrent();
    void copyAll();
    void deleteCurrent();
    void deleteAll();
    void saveBankFile();
    void loadBankFile();
    void addBank();
    void mergeBank();
    void replaceByBank();

    DataStore set_;
    DataStore bank_;
    DropDownList* setList_ = nullptr;
    DropDownList* bankList_ = nullptr;
    QuickHelp* quickHelp_ = nullptr;
    std::unique_ptr<Scene> setScene_;
    std::unique_ptr<Scene> bankScene_;
    Pattern setPreviewPattern_;
    Pattern bankPreviewPattern_;
    KaleidoView* setPreview_ = nullptr;
    KaleidoView* bankPreview_ = nullptr;
    QCheckBox* animateSet_ = nullptr;
    QCheckBox* animateBank_ = nullptr;
};

} // namespace lumivane
