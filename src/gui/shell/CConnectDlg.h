#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class TraceSink;
class QRadioButton;

// Modal choice of the sensor's interface: USB or one of the COM ports present. It opens on the
// interface and port chosen last time (USB the first time); picking a port chooses Serial Port.
// After OK, ResultPort() is the COM port number, or -1 for USB.
class CConnectDlg : public QDialog {
    Q_OBJECT

public:
    // Progress goes to the trace, which must outlive the dialog.
    explicit CConnectDlg(TraceSink& trace, QWidget* parent = nullptr);

    int32_t ResultPort() const { return m_resultPort; }
    QString SelectedName() const { return m_selectedName; }

    // Exposed for tests and screenshots.
    QComboBox* PortList() const { return m_wndPort; }
    QRadioButton* SerialChoice() const { return m_serial; }
    QRadioButton* UsbChoice() const { return m_usb; }

public slots:
    void accept() override;

private:
    void FillPortList();
    void RestoreLastChoice();
    void RememberChoice() const;
    void Trace(const std::string& text) const;

    TraceSink& m_trace;
    QRadioButton* m_serial;
    QRadioButton* m_usb;
    QComboBox* m_wndPort;
    QString m_selectedName;
    int32_t m_resultPort = -1;
};
