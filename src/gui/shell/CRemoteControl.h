#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class CCommandState;
class CMeterLink;
class CScpiInstrument;
class CScpiServer;
class CSettingProfile;
class QLabel;
class QStatusBar;

// The window's Remote Control command: serves the connected sensor to one SCPI client at a time
// through the same engine as the screens (whose records it never touches), and shows in the
// status bar where it listens and who is connected. Off until the user switches it on; it goes
// off when the sensor is released.
class CRemoteControl : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kDefaultAddress = "127.0.0.1";
    static constexpr uint16_t kDefaultPort = 5025;

    CRemoteControl(CMeterLink& link, const CSettingProfile& profile, QStatusBar* statusBar);
    ~CRemoteControl() override;

    // Where the next Start listens; port 0 takes a free one.
    void SetListenAddress(const std::string& address, uint16_t port);
    bool IsServing() const { return m_server != nullptr; }
    uint16_t Port() const;
    // What the status bar shows: empty while off.
    QString StatusText() const;

    // Switches serving on or off; true for the Remote Control command.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCommandState& state) const;
    void Stop();

private:
    bool Start(QString& error);
    void ShowClient(const QString& peer);
    QString Where(uint16_t port) const;
    static QString Text(const char* key);

    CMeterLink& m_link;
    const CSettingProfile& m_profile;
    QLabel* m_label;
    std::string m_address = kDefaultAddress;
    uint16_t m_port = kDefaultPort;
    std::unique_ptr<CScpiInstrument> m_instrument;
    std::unique_ptr<CScpiServer> m_server; // serves m_instrument; goes first
};
