#include "gui/kit/CChildFrame.h"

#include "gui/kit/CDeferredIcon.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>

CChildFrame::CChildFrame(ChildKind kind, QWidget* parent) : QMdiSubWindow(parent), m_kind(kind) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(CDeferredIcon::FromFile(QStringLiteral(":/icons/app.svg")));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    emit Closing(this);
    QMdiSubWindow::closeEvent(event);
}

QSize CChildFrame::sizeHint() const {
    const QMdiArea* area = mdiArea();
    if (area == nullptr)
        return QMdiSubWindow::sizeHint();
    const QSize viewport = area->viewport()->size();
    return (viewport * 3 / 4).expandedTo(QSize(480, 360)).boundedTo(viewport.expandedTo(QSize(1, 1)));
}
