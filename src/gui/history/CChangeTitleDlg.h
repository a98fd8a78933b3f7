#pragma once

#include <QDialog>

class QLineEdit;

// Asks for a history's new title: at most 30 characters, trailing blanks removed, never empty.
class CChangeTitleDlg : public QDialog {
    Q_OBJECT

public:
    explicit CChangeTitleDlg(const QString& title, QWidget* parent = nullptr);

    // The accepted title, trailing white space removed.
    QString Title() const { return m_title; }
    QLineEdit* Edit() const { return m_edit; }

    void accept() override;

private:
    QLineEdit* m_edit;
    QString m_title;
};
