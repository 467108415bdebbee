#pragma once

#include "core/lang/Translations.h"

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace quillon::app {

/// Answer of a running Quillon to a new connection; anything else is not an instance.
inline constexpr quint32 InstanceMagic = 0x1E3F3D46;

/// The instance socket of this user and desktop session, so two users or two desktops never meet: in a folder only
/// the user can enter (see PrivateRuntimeFolder); a named pipe with the user's key on Windows.
/// Tells desktop sessions of one user apart: a hash of the display and session names.
QString InstanceSessionTag();

struct TInstanceAddress {
    QString Name;    // empty when there is no folder to trust
    QString Problem; // why not, in the language given
};
TInstanceAddress InstanceAddress(TLanguage language);

/// HandOffText: the parameters joined by single spaces, without blanks and control characters at either end.
QString HandOffText(const QStringList& parameters);

enum class THandOff {
    Handed,     // a running instance has the request
    NoInstance, // nothing listening, a stale socket, a peer silent for a second or answering wrongly
    ForeignPeer // the socket is another user's: nothing was sent
};

/// The second start's side: asks a running instance of the same user to come forward and, with a non-empty text,
/// to open it; waits until it has. Anything but Handed: this start is a window of its own.
THandOff HandOffToRunningInstance(const QString& socketName, const QString& text);

/// The running instance's side: answers InstanceMagic, then brings the window forward and passes handed-over text
/// to open. A stale socket left by a crash is removed before listening. Bounded: peers of another user are turned
/// away, at most MaxPeers are served at once, and a peer that has not sent its request within PeerMs is dropped.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    TInstanceServer(std::function<void()> activate, std::function<void(const QString&)> open,
                    QObject* parent = nullptr);
    bool Listen(const QString& socketName);

    static constexpr int MaxPeers = 16;
    static constexpr int PeerMs = 2000;
    /// Peers connected now (for tests).
    int PeerCount() const { return Peers; }

private:
    void Serve();
    void Handle(QLocalSocket& peer);
    void Drop(QLocalSocket& peer);

    QLocalServer* Server;
    std::function<void()> Activate;
    std::function<void(const QString&)> Open;
    int Peers = 0;
};

} // namespace quillon::app
