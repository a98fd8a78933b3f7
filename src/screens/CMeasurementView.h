#pragma once

#include "app/CCommandState.h"
#include "screens/CMeasurementDisplay.h"
#include "screens/CMeasurementHandler.h"
#include "screens/CMeasurementLayout.h"
#include "screens/CMeasurementLink.h"

#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class CGraphCtrl;
class CMeasurementCtrl;
class CSettingProfile;
class QMenu;

// The AVG & PEAK screen's one window: four readouts and the history graph in a two-by-two or
// full-screen arrangement, the 20 ms request timer and the screen's commands. Readings reach
// Handler() on the user-interface thread.
class CMeasurementView : public QWidget, private CMeasurementDisplay {
    Q_OBJECT

public:
    CMeasurementView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                     QWidget* parent = nullptr);
    ~CMeasurementView() override;

    CMeasurementHandler& Handler() { return m_handler; }
    CMeasurementLink& Link() { return *m_link; }
    const CMeasurementLayout& Layout() const { return m_layout; }
    CMeasurementCtrl* Panel(int panel) const { return m_panels[static_cast<size_t>(panel)]; }
    CGraphCtrl* Graph() const { return m_graph; }

    // Adapts the panels, the graph and the request cycle to the connected model.
    void ConfigureForModel();
    // The setting dialog changed the profile: everything redraws.
    void ApplySettings();
    // What Save history does once a path was chosen; false (after the message) when writing failed.
    bool SaveHistoryTo(const QString& path);
    const QString& LastSavedPath() const { return m_lastSavedPath; }

    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCommandState& state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ShowAlarm(int quantity, bool alarm) override;
    void ShowNewValue() override;
    void RedrawAll() override;
    void ShowReverseWarning(bool warning) override;

    int ModelNumber() const;
    void ResetPanelRoles();
    void ConfigureMainQuantity();
    void ApplyLayout();
    void RedrawPanels(int refreshKind);
    void RedrawQuantity(int quantity, int refreshKind);
    void SelectAt(const QPoint& position);
    void MarkSelection();
    void ShowContextMenu(const QPoint& globalPosition);
    bool Ask(const char* key);

    void OnStart();
    void OnReset();
    void OnFullScreen();
    void OnMultiScreen();
    void OnHistoryGraph();
    void OnSetAsDefault();
    void OnMeasurementMode(bool relative);
    void OnLimitEnabled(bool enabled);
    void OnSaveHistory();

    CSettingProfile& m_profile;
    std::unique_ptr<CMeasurementLink> m_link;
    std::array<CMeasurementCtrl*, CMeasurementLayout::kPanelCount> m_panels{};
    CGraphCtrl* m_graph = nullptr;
    CMeasurementLayout m_layout;
    CMeasurementHandler m_handler;
    QMenu* m_contextMenus = nullptr;
    int m_timerId = 0;
    QString m_lastSavedPath;
};
