#pragma once

class CShellLink;
class QMenu;
class QPoint;
class QWidget;

// The measurement screens' pop-up menu (context pop-up 0), built on first use from the main
// window's shared actions so that every command's rule applies in it too.
class CScreenContextMenu {
public:
    explicit CScreenContextMenu(QWidget* owner) : m_owner(owner) {}

    void Show(const QPoint& globalPosition);

private:
    CShellLink* Shell() const;

    QWidget* m_owner;
    QMenu* m_menus = nullptr; // owned by m_owner
};
