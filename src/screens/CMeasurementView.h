#pragma once

#include "app/CCommandState.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementHandler.h"
#include "screens/CMeasurementLayout.h"
#include "screens/CMeasurementLink.h"
#include "screens/CScreenContextMenu.h"

#include <QWidget>

#include <array>
#include <memory>

class CGraphCtrl;
class CMeasurementCtrl;
class CSettingProfile;

// The AVG & PEAK screen's one window: four readouts and the history graph in a two-by-two or
// full-screen arrangement, and the commands that change them. Readings reach Handler() on the
// user-interface thread; measuring is the frame's.
class CMeasurementView : public QWidget, private CMeasurementDisplay {
    Q_OBJECT

public:
    CMeasurementView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                     CScreenNotices& notices, QWidget* parent = nullptr);

    CMeasurementHandler& Handler() { return m_handler; }
    CMeasurementLink& Link() { return *m_link; }
    const CMeasurementLayout& Layout() const { return m_layout; }
    CMeasurementCtrl* Panel(int panel) const { return m_panels[static_cast<size_t>(panel)]; }
    CGraphCtrl* Graph() const { return m_graph; }

    // Adapts the panels, the graph and the request cycle to the connected model.
    void ConfigureForModel();
    // The setting dialog changed the profile: everything redraws.
    void ApplySettings();

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
    void RedrawAll() override;

    int ModelNumber() const;
    void ResetPanelRoles();
    void ConfigureMainQuantity();
    void ApplyLayout();
    void RedrawPanels(int refreshKind);
    void RedrawQuantity(int quantity, int refreshKind);
    void SelectAt(const QPoint& position);
    void MarkSelection();

    void OnFullScreen();
    void OnMultiScreen();
    void OnHistoryGraph();
    void OnSetAsDefault();
    void OnMeasurementMode(bool relative);
    void OnLimitEnabled(bool enabled);

    CSettingProfile& m_profile;
    std::unique_ptr<CMeasurementLink> m_link;
    std::array<CMeasurementCtrl*, CMeasurementLayout::kPanelCount> m_panels{};
    CGraphCtrl* m_graph = nullptr;
    CMeasurementLayout m_layout;
    CMeasurementHandler m_handler;
    CScreenContextMenu m_contextMenu{this};
};
