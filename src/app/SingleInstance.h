#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace quillon::app {

/// Answer of a running Quillon to a new connection; anything else is not an instance.
inline constexpr quint32 InstanceMagic = 0x1E3F3D46;

/// The name of the instance socket: one per user and desktop session, so two users or two desktops never meet.
/// Inside $XDG_RUNTIME_DIR when set, else the temporary folder with the user id.
QString InstanceSocketName();

/// HandOffText: the parameters joined by single spaces, without blanks and control characters at either end.
QString HandOffText(const QStringList& parameters);

/// The second start's side: asks a running instance to come forward and, with a non-empty text, to open it; waits
/// until it has. False when no instance answers (nothing listening, a stale socket, a peer that is silent for a
/// second or answers wrongly): then this start is the instance.
bool HandOffToRunningInstance(const QString& socketName, const QString& text);

/// The running instance's side: answers InstanceMagic, then brings the window forward and passes handed-over text
/// to open. A stale socket left by a crash is removed before listening.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    TInstanceServer(std::function<void()> activate, std::function<void(const QString&)> open,
                    QObject* parent = nullptr);
    bool Listen(const QString& socketName);

private:
    void Serve();
    void Handle(QLocalSocket& peer);

    QLocalServer* Server;
    std::function<void()> Activate;
    std::function<void(const QString&)> Open;
};

} // namespace quillon::app
