#include "app/CChildFrame.h"

#include <QCloseEvent>
#include <QIcon>

CChildFrame::CChildFrame(ChildKind kind, QWidget* parent) : QMdiSubWindow(parent), m_kind(kind) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    emit Closing(this);
    QMdiSubWindow::closeEvent(event);
}
