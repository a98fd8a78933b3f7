#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The modal about box: program name with version, and the copyright line.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QString NameText() const;
    QString CopyText() const;

private:
    QLabel* m_name;
    QLabel* m_copy;
    QPushButton* m_ok;
};
