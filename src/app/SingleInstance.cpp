#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include "core/lang/StringIds.h"
#include "core/platform/System.h"
#include "core/text/Utf8.h"

#include <QTimer>

namespace quillon::app {

namespace {

// Commands after the magic: activate only, or activate and open a text; the instance says done when it has.
constexpr char CommandActivate = 'A';
constexpr char CommandOpen = 'O';
constexpr char AnswerDone = 'D';
constexpr int AnswerMs = 1000;       // a peer silent for longer is no instance
constexpr int HandledMs = 10000;     // opening only selects the file; loading goes on in the background
constexpr quint32 MaxText = 1 << 20; // a path, or many: far below this

} // namespace

QString InstanceSessionTag() {
    const QString session = qEnvironmentVariable("WAYLAND_DISPLAY") + QLatin1Char('|') +
                            qEnvironmentVariable("DISPLAY") + QLatin1Char('|') + qEnvironmentVariable("XDG_SESSION_ID");
    return QString::fromLatin1(QCryptographicHash::hash(session.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
}

TInstanceAddress InstanceAddress(TLanguage language) {
#ifdef Q_OS_WIN
    (void)language;
    return {QStringLiteral("quillon-%1-%2").arg(QString::fromStdString(CurrentUserKey()), InstanceSessionTag()), {}};
#else
    const TPrivateFolder folder = PrivateRuntimeFolder();
    if (folder.Path.empty()) {
        const std::string problem =
            folder.Problem == TPrivateFolderProblem::NotPrivate
                ? FormatText(GetString(AppString::InstanceFolderNotPrivate, language), {folder.Checked})
                : FormatText(GetString(AppString::InstanceFolderUnusable, language), {folder.Checked, folder.Reason});
        return {{}, QString::fromStdString(EscapedText(problem, true))};
    }
    return {QDir(QString::fromStdString(folder.Path))
                .filePath(QStringLiteral("quillon-") + InstanceSessionTag() + QStringLiteral(".sock")),
            {}};
#endif
}

QString HandOffText(const QStringList& parameters) {
    QString text = parameters.join(QLatin1Char(' '));
    const auto trimmed = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    qsizetype start = 0, end = text.size();
    while (start < end && trimmed(text[start]))
        ++start;
    while (end > start && trimmed(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

THandOff HandOffToRunningInstance(const QString& socketName, const QString& text) {
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(AnswerMs))
        return THandOff::NoInstance;
    // Whoever made the socket gets nothing unless they are this user: a path says what the user opens.
    if (!LocalPeerIsCurrentUser(socket.socketDescriptor(), true))
        return THandOff::ForeignPeer;
    QByteArray answer;
    while (answer.size() < 4 && socket.waitForReadyRead(AnswerMs))
        answer += socket.read(4 - answer.size());
    quint32 magic = 0;
    if (answer.size() == 4)
        QDataStream(answer) >> magic;
    if (magic != InstanceMagic)
        return THandOff::NoInstance;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty()) {
        out << qint8(CommandActivate);
    } else {
        out << qint8(CommandOpen) << quint32(utf8.size());
        out.writeRawData(utf8.constData(), static_cast<int>(utf8.size()));
    }
    socket.write(request);
    if (!socket.waitForBytesWritten(AnswerMs))
        return THandOff::NoInstance;
    // Wait until the instance has handled it, so a file manager's next click finds it done.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(HandledMs))
            return THandOff::Handed; // it answered as an instance and has the request; it is only slow
    return THandOff::Handed;
}

TInstanceServer::TInstanceServer(std::function<void()> activate, std::function<void(const QString&)> open,
                                 QObject* parent)
    : QObject(parent), Server(new QLocalServer(this)), Activate(std::move(activate)), Open(std::move(open)) {
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(Server, &QLocalServer::newConnection, this, &TInstanceServer::Serve);
}

bool TInstanceServer::Listen(const QString& socketName) {
    if (Server->listen(socketName))
        return true;
    // Nobody answered on it (the caller asked first): a socket left by a crash, or a silent peer. Take the name.
    QLocalServer::removeServer(socketName);
    return Server->listen(socketName);
}

void TInstanceServer::Serve() {
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        if (Peers >= MaxPeers || !LocalPeerIsCurrentUser(socket->socketDescriptor(), false)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++Peers;
        socket->setReadBufferSize(5 + MaxText);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(*socket); });
        QByteArray magic;
        QDataStream(&magic, QIODevice::WriteOnly) << InstanceMagic;
        socket->write(magic);
        QPointer<QLocalSocket> peer(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, peer] {
            if (peer && !peer->property("handled").toBool())
                Handle(*peer);
        });
        // A peer gets its time to ask; what it sent by then is still served, then it goes.
        QTimer::singleShot(PeerMs, this, [this, peer] {
            if (!peer)
                return;
            if (!peer->property("handled").toBool())
                Handle(*peer);
            Drop(*peer);
        });
    }
}

void TInstanceServer::Drop(QLocalSocket& peer) {
    if (peer.property("dropped").toBool())
        return;
    peer.setProperty("dropped", true);
    --Peers;
    peer.disconnect(this);
    if (peer.state() != QLocalSocket::UnconnectedState)
        peer.disconnectFromServer(); // what was written still goes out
    peer.deleteLater();
}

void TInstanceServer::Handle(QLocalSocket& peer) {
    const QByteArray head = peer.peek(5);
    QString text;
    if (head.isEmpty())
        return;
    if (head[0] == CommandOpen) {
        if (head.size() < 5)
            return; // the length is on its way
        quint32 length = 0;
        QDataStream(head.mid(1)) >> length;
        if (length > MaxText) {
            peer.abort();
            Drop(peer);
            return;
        }
        if (peer.bytesAvailable() < 5 + qint64(length))
            return; // the rest is on its way
        peer.read(5);
        text = QString::fromUtf8(peer.read(length));
    } else if (head[0] == CommandActivate) {
        peer.read(1);
    } else {
        peer.abort(); // not one of ours
        Drop(peer);
        return;
    }
    peer.setProperty("handled", true);
    Activate();
    if (!text.isEmpty())
        Open(text); // data, never a command: a path that is no file leads to the default folder
    peer.write(QByteArray(1, AnswerDone));
    peer.flush();
}

} // namespace quillon::app
