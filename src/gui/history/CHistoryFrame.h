#pragma once

#include "gui/kit/CChildFrame.h"

class CHistoryView;

// The child window of one opened history file; its only pane is the history view, which
// gets the commands first.
class CHistoryFrame : public CChildFrame {
    Q_OBJECT

public:
    explicit CHistoryFrame(QWidget* parent = nullptr);

    CHistoryView* View() const { return m_view; }
    bool LoadFile(const std::string& path) override;
    std::string LoadError() const override;
    std::string DocumentModelName() const override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

private:
    CHistoryView* m_view;
};
