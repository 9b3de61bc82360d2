// "Type a name for this pattern": asks for the name under which the working
// pattern is saved. At most 20 characters, each one the name field can hold.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace lumivane {

class ModalRunner;

inline constexpr int PATTERN_NAME_MAX_CHARACTERS = 20;

class PatternNameDialog : public QDialog {
    Q_OBJECT

  public:
    PatternNameDialog(ModalRunner& runner, QWidget* parent = nullptr);

    void setName(const QString& name);
    // The name typed, as accepted by OK.
    QString name() const { return name_; }
    // The same name as Windows-1252 bytes.
    std::string nameBytes() const;

    void accept() override;

  private:
    ModalRunner& runner_;
    QLineEdit* edit_;
    QString name_;
};

} // namespace lumivane
