#include "GuiTestSupport.h"

#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <QTimer>

#include <QScopeGuard>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#ifndef Q_OS_WIN // sockets in folders, and users
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace quillon;
using namespace quillon::guitest;

namespace {

QString SocketName() {
    return app::InstanceAddress(TLanguage::English).Name;
}

// The second start: the real program, in its own process; with a user id, started as that user.
struct TSecondStart {
    explicit TSecondStart(const QStringList& args, const QString& runtimeDir = {},
                          const QProcessEnvironment& extra = {}, int asUser = -1) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!runtimeDir.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        for (const QString& key : extra.keys())
            env.insert(key, extra.value(key));
        if (extra.contains(QStringLiteral("UNSET_XDG_RUNTIME_DIR")))
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        Process.setProcessEnvironment(env);
        if (asUser >= 0)
            Process.start(QStringLiteral("setpriv"),
                          QStringList{QStringLiteral("--reuid=%1").arg(asUser),
                                      QStringLiteral("--regid=%1").arg(asUser), QStringLiteral("--clear-groups"),
                                      QStringLiteral(QUILLON_APP_PATH)} +
                              args);
        else
            Process.start(QStringLiteral(QUILLON_APP_PATH), args);
        Process.waitForStarted();
    }
    ~TSecondStart() {
        Process.kill();
        Process.waitForFinished();
    }
    QProcess Process;
};

#ifndef Q_OS_WIN // only the tests of sockets in folders ask
bool AnswersAsInstance(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return false;
    QByteArray answer;
    while (answer.size() < 4 && socket.waitForReadyRead(1000))
        answer += socket.read(4 - answer.size());
    quint32 magic = 0;
    QDataStream(answer) >> magic;
    return magic == app::InstanceMagic;
}
#endif

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void SecondStartHandsItsPathOver();
    void SecondStartWithoutPathOnlyActivates();
    void LongPathsAndSpacesArriveWhole();
    void StaleSocketsAndSilentPeersDoNotHoldTheStart();
    void OtherSessionsDoNotMeet();
    void FoldersOthersCanReachAreNotUsed();
    void AnotherUsersSocketGetsNothing();
    void IdlePeersAreBoundedAndDropped();
    void HandOffTextJoinsAndTrims();

private:
    QTemporaryDir Runtime;
};

void SingleInstanceTest::init() {
    qputenv("XDG_RUNTIME_DIR", Runtime.path().toUtf8());
}

void SingleInstanceTest::SecondStartHandsItsPathOver() {
    TWindowFixture f;
    int activated = 0;
    app::TInstanceServer server([&activated] { ++activated; }, [&f](const QString& text) { f.Window->OpenPath(text); });
    QVERIFY(server.Listen(SocketName()));
    const QString replay = WriteFile(f.Path(QStringLiteral("交给 handed over.w3g")), Duel("Hand", "Over"));
    const QString secondSettings = f.Path(QStringLiteral("second.ini"));
    QSignalSpy shown(f.Window.get(), &gui::TQuillonMain::ReplayShown);
    TSecondStart second({QStringLiteral("--settings"), secondSettings, replay});
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
    QVERIFY(shown.wait(5000) || !shown.isEmpty());
    QCOMPARE(f.Window->GetLoadedFile(), replay);
    QCOMPARE(activated, 1);
    QVERIFY(!QFile::exists(secondSettings)); // the second start never touched settings
}

void SingleInstanceTest::SecondStartWithoutPathOnlyActivates() {
    TWindowFixture f;
    int activated = 0, opened = 0;
    app::TInstanceServer server([&activated] { ++activated; }, [&opened](const QString&) { ++opened; });
    QVERIFY(server.Listen(SocketName()));
    TSecondStart second({});
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
    QCOMPARE(activated, 1);
    QCOMPARE(opened, 0);
}

void SingleInstanceTest::LongPathsAndSpacesArriveWhole() {
    QStringList received;
    app::TInstanceServer server([] {}, [&received](const QString& text) { received << text; });
    QVERIFY(server.Listen(SocketName()));
    const QString longPath = QStringLiteral("/replays/") + QString(300, QLatin1Char('x')) + QStringLiteral(".w3g");
    const QString spaced = QStringLiteral("/my  replays/a   b.w3g");
    for (const QString& path : {longPath, spaced}) {
        TSecondStart second({path});
        QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    }
    QCOMPARE(received, (QStringList{longPath, spaced}));
    // An unquoted path split into parameters is joined again with single spaces.
    TSecondStart split({QStringLiteral("/my"), QStringLiteral("replays/a.w3g")});
    QTRY_VERIFY_WITH_TIMEOUT(split.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(received.last(), QStringLiteral("/my replays/a.w3g"));
}

void SingleInstanceTest::StaleSocketsAndSilentPeersDoNotHoldTheStart() {
#ifdef Q_OS_WIN
    QSKIP("sockets in folders and other users are POSIX matters; Windows has named pipes");
#else
    const QString name = SocketName();
    {
        // A socket file left by a crash: bound, never listened on, never removed.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = name.toUtf8();
        std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        TSecondStart start({});
        QTRY_VERIFY_WITH_TIMEOUT(AnswersAsInstance(name), 10000); // it became the instance
        QCOMPARE(start.Process.state(), QProcess::Running);
    }
    // A peer that accepts and never answers holds the start about a second, then the start takes the name.
    QLocalServer::removeServer(name);
    QLocalServer silent;
    QVERIFY(silent.listen(name));
    QElapsedTimer clock;
    clock.start();
    TSecondStart start({});
    QTRY_VERIFY_WITH_TIMEOUT(AnswersAsInstance(name), 10000);
    QVERIFY(clock.elapsed() < 5000);
    QCOMPARE(start.Process.state(), QProcess::Running);
#endif
}

void SingleInstanceTest::OtherSessionsDoNotMeet() {
#ifdef Q_OS_WIN
    QSKIP("a Windows session is the system's logon session, which a test cannot start");
#endif
    int activated = 0;
    app::TInstanceServer server([&activated] { ++activated; }, [](const QString&) {});
    QVERIFY(server.Listen(SocketName()));
    QTemporaryDir otherRuntime;
    TSecondStart other({}, otherRuntime.path());
    QTest::qWait(1500);
    QCOMPARE(other.Process.state(), QProcess::Running); // the instance of its own session
    QCOMPARE(activated, 0);
}

#ifndef Q_OS_WIN
namespace {

constexpr int Nobody = 65534;

// A folder for a user other than the one running the tests (root), with the files they need.
QString FolderOf(const QTemporaryDir& root, const QString& name, int uid, QFile::Permissions mode) {
    const QString path = root.filePath(name);
    QDir().mkpath(path);
    QFile::setPermissions(path, mode);
    return ::chown(path.toLocal8Bit().constData(), static_cast<uid_t>(uid), static_cast<gid_t>(uid)) == 0 ? path
                                                                                                          : QString();
}

// Root, with setpriv, and a program another user may run (every folder on its way lets others through).
bool RunningAsRoot() {
    if (::getuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return false;
    for (QString path = QStringLiteral(QUILLON_APP_PATH); path.size() > 1; path = QFileInfo(path).path())
        if (!(QFileInfo(path).permissions() & QFileDevice::ExeOther))
            return false;
    return true;
}

} // namespace
#endif

void SingleInstanceTest::FoldersOthersCanReachAreNotUsed() {
#ifdef Q_OS_WIN
    QSKIP("sockets in folders and other users are POSIX matters; Windows has named pipes");
#else
    // No runtime folder: the socket goes to quillon-UID in the temporary folder, which another user may have made
    // first, or made a link, or opened to everyone. Each start is then a window of its own, and says why.
    QTemporaryDir temp;
    QVERIFY(QFile::setPermissions(temp.path(), QFile::Permissions(0x7777))); // a shared /tmp
    const QString folder = temp.filePath(QStringLiteral("quillon-%1").arg(::getuid()));
    const QDir target(temp.filePath(QStringLiteral("elsewhere")));
    const struct {
        const char* Name;
        std::function<void()> Prepare;
    } cases[] = {
        {"another user's folder",
         [&] {
             QDir().mkdir(folder);
             QVERIFY(::chown(folder.toLocal8Bit().constData(), Nobody, Nobody) == 0 || ::getuid() != 0);
         }},
        {"open to everyone",
         [&] {
             QDir().mkdir(folder);
             QFile::setPermissions(folder, QFile::Permissions(0x7777));
         }},
        {"a link to a private folder",
         [&] {
             QDir().mkpath(target.path());
             QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             QFile::link(target.path(), folder);
         }},
        {"a file", [&] { QFile(folder).open(QIODevice::WriteOnly); }},
    };
    for (const auto& c : cases) {
        qInfo("%s", c.Name);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        c.Prepare();
        QProcessEnvironment env;
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        env.insert(QStringLiteral("UNSET_XDG_RUNTIME_DIR"), QStringLiteral("1"));
        TSecondStart first({}, {}, env);
        TSecondStart second({}, {}, env);
        QTest::qWait(1500);
        QCOMPARE(first.Process.state(), QProcess::Running);
        QCOMPARE(second.Process.state(), QProcess::Running); // nothing to hand to: a window of its own
        QVERIFY2(second.Process.readAllStandardError().contains(folder.toUtf8()), c.Name);
        QVERIFY(QDir(folder).entryList(QDir::System | QDir::Files).isEmpty());
    }
    // The folder made by the first start is private, and the second start finds the first through it.
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    QProcessEnvironment env;
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    env.insert(QStringLiteral("UNSET_XDG_RUNTIME_DIR"), QStringLiteral("1"));
    TSecondStart first({}, {}, env);
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder).entryList(QDir::System).isEmpty(), 10000);
    QCOMPARE(int(QFileInfo(folder).permissions() & QFile::Permissions(0x0077)), 0);
    TSecondStart second({}, {}, env);
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
#endif
}

void SingleInstanceTest::AnotherUsersSocketGetsNothing() {
#ifdef Q_OS_WIN
    QSKIP("sockets in folders and other users are POSIX matters; Windows has named pipes");
#else
    if (!RunningAsRoot())
        QSKIP("needs root, setpriv and a program another user may run");
    // The victim (nobody) has a private runtime folder; the squatter (root, who can reach any folder) listens on
    // the victim's socket name first and answers as an instance would.
    QTemporaryDir root;
    QVERIFY(QFile::setPermissions(root.path(), QFile::Permissions(0x7755)));
    const QString runtime =
        FolderOf(root, QStringLiteral("runtime"), Nobody, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString home = FolderOf(root, QStringLiteral("home"), Nobody, QFile::Permissions(0x7700));
    QVERIFY(!runtime.isEmpty() && !home.isEmpty());
    QLocalServer squatter;
    QVERIFY(squatter.listen(QDir(runtime).filePath(QStringLiteral("quillon-%1.sock").arg(app::InstanceSessionTag()))));
    ::chmod(squatter.fullServerName().toLocal8Bit().constData(), 0777);
    QByteArray received;
    connect(&squatter, &QLocalServer::newConnection, this, [&] {
        while (QLocalSocket* peer = squatter.nextPendingConnection()) {
            QByteArray magic;
            QDataStream(&magic, QIODevice::WriteOnly) << app::InstanceMagic;
            peer->write(magic);
            connect(peer, &QLocalSocket::readyRead, this, [&received, peer] { received += peer->readAll(); });
        }
    });
    QProcessEnvironment env;
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    TSecondStart victim({QStringLiteral("/home/victim/secret plans.w3g")}, runtime, env, Nobody);
    QTest::qWait(2000);
    QCOMPARE(victim.Process.state(), QProcess::Running); // a window of its own
    QVERIFY(received.isEmpty());
    QVERIFY(victim.Process.readAllStandardError().contains("another user"));
#endif
}

void SingleInstanceTest::IdlePeersAreBoundedAndDropped() {
    int opened = 0;
    app::TInstanceServer server([] {}, [&opened](const QString&) { ++opened; });
    QVERIFY(server.Listen(SocketName()));
    int peak = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] { peak = std::max(peak, server.PeerCount()); });
    watch.start(1);
    // The flood comes from another thread, as it would from another process, so this one serves meanwhile (a
    // connect to a busy named pipe waits for the server).
    constexpr int Flood = 100;
    std::atomic<int> settled{0};
    std::atomic<bool> release{false};
    const QString name = SocketName();
    std::thread flood([&] {
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < Flood; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(name);
            idle.back()->waitForConnected(2000);
            ++settled;
        }
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    const auto join = qScopeGuard([&] {
        release = true;
        flood.join();
    });
    QTRY_COMPARE_WITH_TIMEOUT(settled.load(), Flood, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(peak > 0, 10000);
    // Silent peers are dropped after their time, so a real start gets through while they still hold on.
    QTRY_COMPARE_WITH_TIMEOUT(server.PeerCount(), 0, app::TInstanceServer::PeerMs + 3000);
    QVERIFY(peak <= app::TInstanceServer::MaxPeers);
    TSecondStart second({QStringLiteral("/replays/after the flood.w3g")});
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
    QCOMPARE(opened, 1);
}

void SingleInstanceTest::HandOffTextJoinsAndTrims() {
    QCOMPARE(app::HandOffText({QStringLiteral("  a"), QStringLiteral("b \t\n")}), QStringLiteral("a b"));
    QCOMPARE(app::HandOffText({}), QString());
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
