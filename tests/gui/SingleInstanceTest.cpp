#include "GuiTestSupport.h"

#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::guitest;

namespace {

// The second start: the real program, in its own process.
struct TSecondStart {
    explicit TSecondStart(const QStringList& args, const QString& runtimeDir = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!runtimeDir.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        Process.setProcessEnvironment(env);
        Process.start(QStringLiteral(QUILLON_APP_PATH), args);
        Process.waitForStarted();
    }
    ~TSecondStart() {
        Process.kill();
        Process.waitForFinished();
    }
    QProcess Process;
};

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
    QVERIFY(server.Listen(app::InstanceSocketName()));
    const QString replay = WriteFile(f.Path(QStringLiteral("handed over.w3g")), Duel("Hand", "Over"));
    const QString secondSettings = f.Path(QStringLiteral("second.ini"));
    QSignalSpy shown(f.Window.get(), &gui::TQuillonMain::ReplayShown);
    TSecondStart second({QStringLiteral("--settings"), secondSettings, replay});
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
    QVERIFY(shown.wait(5000) || !shown.isEmpty());
    QCOMPARE(f.Window->LoadedFile(), replay);
    QCOMPARE(activated, 1);
    QVERIFY(!QFile::exists(secondSettings)); // the second start never touched settings
}

void SingleInstanceTest::SecondStartWithoutPathOnlyActivates() {
    TWindowFixture f;
    int activated = 0, opened = 0;
    app::TInstanceServer server([&activated] { ++activated; }, [&opened](const QString&) { ++opened; });
    QVERIFY(server.Listen(app::InstanceSocketName()));
    TSecondStart second({});
    QTRY_VERIFY_WITH_TIMEOUT(second.Process.state() == QProcess::NotRunning, 10000);
    QCOMPARE(second.Process.exitCode(), 0);
    QCOMPARE(activated, 1);
    QCOMPARE(opened, 0);
}

void SingleInstanceTest::LongPathsAndSpacesArriveWhole() {
    QStringList received;
    app::TInstanceServer server([] {}, [&received](const QString& text) { received << text; });
    QVERIFY(server.Listen(app::InstanceSocketName()));
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
    const QString name = app::InstanceSocketName();
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
}

void SingleInstanceTest::OtherSessionsDoNotMeet() {
    int activated = 0;
    app::TInstanceServer server([&activated] { ++activated; }, [](const QString&) {});
    QVERIFY(server.Listen(app::InstanceSocketName()));
    QTemporaryDir otherRuntime;
    TSecondStart other({}, otherRuntime.path());
    QTest::qWait(1500);
    QCOMPARE(other.Process.state(), QProcess::Running); // the instance of its own session
    QCOMPARE(activated, 0);
}

void SingleInstanceTest::HandOffTextJoinsAndTrims() {
    QCOMPARE(app::HandOffText({QStringLiteral("  a"), QStringLiteral("b \t\n")}), QStringLiteral("a b"));
    QCOMPARE(app::HandOffText({}), QString());
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
