#pragma once

#include "appcore/CCommandTarget.h"

#include <QMdiSubWindow>

#include <string>

class CReadingReceiver;
class CShellLink;

// The kinds of child window; at most one of each screen kind is open at a time.
enum class ChildKind { Measurement, Pulse, Ccdf, History, Relative };

// Base of every child window of the main frame. The main frame routes commands to the active
// child first, picks the menu, toolbar and shortcuts by its kind, hands it the shell when it
// adopts it, and on close stops it and stops its readings.
class CChildFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT

public:
    explicit CChildFrame(ChildKind kind, QWidget* parent = nullptr);

    ChildKind Kind() const { return m_kind; }
    bool IsScreen() const { return m_kind != ChildKind::History; }
    // The main window this child belongs to; nullptr until adopted (and in tests without one).
    CShellLink* Shell() const { return m_shell; }
    void SetShell(CShellLink* shell) { m_shell = shell; }
    // Which connected sensor the screen measures with: 0 the first, as with a single sensor.
    int Sensor() const { return m_sensor; }
    void SetSensor(int sensor) { m_sensor = sensor; }

    // What the acquisition engine calls for this screen (on its worker thread); nullptr for
    // windows that take no readings.
    virtual CReadingReceiver* Receiver() { return nullptr; }
    // Adapts a new screen to the connected sensor model before it is shown.
    virtual void Configure() {}
    // History windows: loads the file; false leaves the window empty.
    virtual bool LoadFile(const std::string& /*path*/) { return false; }
    // Why the last LoadFile failed; empty when there is nothing more to tell.
    virtual std::string LoadError() const { return {}; }
    // Name of the sensor model the shown document was recorded with; empty when unknown.
    virtual std::string DocumentModelName() const { return {}; }
    // Quantity (channel) of the screen's main readout, or -1 for a screen without one.
    virtual int MainQuantity() const { return -1; }
    // The setting dialog has changed the profile: the screen redraws with the new settings.
    virtual void ApplySettings() {}
    // Before an action that would leave the screen's measurement unsaved: offers to save it.
    // False when the user cancelled, and the action must not go on.
    virtual bool OfferToSave() { return true; }
    // Another sensor was connected: what the screen measured belongs to none of its readings.
    virtual void ForgetMeasurement() {}
    // The sensor was let go: no reading is live any more, while what was recorded stays.
    virtual void SensorReleased() {}

    // Three quarters of the main window's child area: where a new window opens and the size
    // Window > Cascade gives each window.
    QSize sizeHint() const override;

    bool OnCommand(int /*id*/) override { return false; }
    bool OnUpdateCommand(int /*id*/, CCommandState& /*state*/) override { return false; }

signals:
    void Closing(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ChildKind m_kind;
    CShellLink* m_shell = nullptr;
    int m_sensor = 0;
};
