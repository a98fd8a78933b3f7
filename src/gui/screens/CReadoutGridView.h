#pragma once

#include "appcore/CCommandState.h"
#include "appcore/CMeasurementDisplay.h"
#include "appcore/CMeasurementLink.h"
#include "appcore/CReadoutGridLayout.h"
#include "gui/kit/CPaintPacer.h"
#include "gui/screens/CScreenContextMenu.h"

#include <QWidget>

#include <array>
#include <memory>

class CGraphCtrl;
class CMeasurementCtrl;
class CRecordStore;
class CSettingProfile;

// The one window of a live screen: four readouts and the live graph of the main quantity in the
// arrangement of its layout, the mouse rules (select, context menu, double click) and the view
// commands every such screen has. The measuring belongs to the screen.
class CReadoutGridView : public QWidget, protected CMeasurementDisplay {
    Q_OBJECT

public:
    CMeasurementLink& Link() { return *m_link; }
    CMeasurementCtrl* Panel(int panel) const { return m_panels[static_cast<size_t>(panel)]; }
    CGraphCtrl* Graph() const { return m_graph; }

    // Back to the panel roles for the connected model.
    virtual void ConfigureForModel();
    // The setting dialog or a reset changed what is shown: everything redraws.
    void RedrawAll() override;

    virtual bool OnCommand(int id);
    virtual bool OnUpdateCommand(int id, CCommandState& state);

protected:
    CReadoutGridView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                     std::unique_ptr<CReadoutGridLayout> layout, QWidget* parent);

    // The measurement the panels and the graph show; the derived view's handler owns it.
    void BindRecords(CRecordStore& records);
    void ShowNewValue() override;
    // The quantity whose limit and alarm state the commands show.
    virtual int RuleQuantity() const = 0;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    int ModelNumber() const;
    CReadoutGridLayout& GridLayout() const { return *m_layout; }
    void ConfigureMainQuantity();
    void ApplyLayout();
    void RedrawPanels(int refreshKind);
    void MarkSelection();

    CSettingProfile& m_profile;

private:
    void ResetPanelRoles();
    void SelectAt(const QPoint& position);
    void OnFullScreen();
    void OnMultiScreen();
    void OnSetAsDefault();
    void OnMeasurementMode(bool relative);
    void OnLimitEnabled(bool enabled);

    std::unique_ptr<CMeasurementLink> m_link;
    CRecordStore* m_records = nullptr;
    std::unique_ptr<CReadoutGridLayout> m_layout;
    // The readouts, their gauges and the graph repaint new values together.
    CPaintPacer m_pacer;
    std::array<CMeasurementCtrl*, CReadoutGridLayout::kPanelCount> m_panels{};
    CGraphCtrl* m_graph = nullptr;
    CScreenContextMenu m_contextMenu{this};
};
