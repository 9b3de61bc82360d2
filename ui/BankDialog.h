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
class QGroupBox;
class QLayout;
class QPushButton;

namespace lumivane {

class DropDownList;
class KaleidoView;
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
    // The help text of the control with this template id; empty for none.
    static QString helpText(int id);

  protected:
    void pausePreviews() override;
    // Resumes each preview whose animate box is checked.
    void resumePreviews() override;
    // The animate boxes put themselves back; nothing else changes on a help click.
    void restoreControls() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPushButton* createPushButton(int id, const char* caption, void (BankDialog::*action)());
    KaleidoView* createPreview(int id, const char* name);
    DropDownList* createList(int id, const char* name);
    QGroupBox* createCopyGroup();
    QGroupBox* createLoadGroup();
    QGroupBox* createBankGroup();
    QLayout* createDialogButtons();
    void connectControls();
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

    void chooseSetPattern();
    void chooseBankPattern();
    void toggleAnimation();
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
