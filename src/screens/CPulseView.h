#pragma once

#include "app/CCommandState.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementLink.h"
#include "screens/CPulseHandler.h"
#include "screens/CPulseLayout.h"
#include "screens/CScreenContextMenu.h"

#include <QWidget>

#include <array>
#include <memory>

class CGraphCtrl;
class CMeasurementCtrl;
class CScreenNotices;
class CSettingProfile;

// The PULSE screen's one window: four readouts in fixed slots and the live graph of the main
// quantity below them, or one readout full screen, with the screen's view commands. The
// measuring commands belong to the frame. Readings reach Handler() on the user-interface thread.
class CPulseView : public QWidget, private CMeasurementDisplay {
    Q_OBJECT

public:
    CPulseView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, CScreenNotices& notices,
               QWidget* parent = nullptr);

    CPulseHandler& Handler() { return m_handler; }
    const CPulseLayout& Layout() const { return m_layout; }
    CMeasurementCtrl* Panel(int panel) const { return m_panels[static_cast<size_t>(panel)]; }
    CGraphCtrl* Graph() const { return m_graph; }

    // Back to the panel roles for the connected model.
    void ConfigureForModel();
    // The setting dialog or a reset changed what is shown: everything redraws.
    void RedrawAll() override;

    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCommandState& state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ShowAlarm(int quantity, bool alarm) override;
    void ShowNewValue() override;

    int ModelNumber() const;
    void ResetPanelRoles();
    void ConfigureMainQuantity();
    void ApplyLayout();
    void RedrawPanels(int refreshKind);
    void MarkSelection();
    void SelectAt(const QPoint& position);

    void OnFullScreen();
    void OnMultiScreen();
    void OnSetAsDefault();
    void OnMeasurementMode(bool relative);
    void OnLimitEnabled(bool enabled);

    CSettingProfile& m_profile;
    std::unique_ptr<CMeasurementLink> m_link;
    std::array<CMeasurementCtrl*, CPulseLayout::kPanelCount> m_panels{};
    CGraphCtrl* m_graph = nullptr;
    CPulseLayout m_layout;
    CPulseHandler m_handler;
    CScreenContextMenu m_contextMenu{this};
};
