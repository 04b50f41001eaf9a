// Start-up: the single-instance lock (in this process and with two real
// processes of the built program), the end of the session by SIGTERM, the
// splash window and the JPEG decoding behind its picture.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <jpeglib.h>

#include "app/startform.h"
#include "app/startup.h"
#include "core/strings.h"
#include "platform/instance.h"
#include "platform/jpeg.h"
#include "tests/fixture/ui_fixture.h"

namespace {

// A JPEG of the given size and colour (or, noisy, a pattern that leaves
// most of the file to the picture data), made with libjpeg.
QByteArray encodeJpeg(int w, int h, QRgb colour, bool noisy = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[x * 3] = static_cast<unsigned char>(qRed(colour));
        row[x * 3 + 1] = static_cast<unsigned char>(qGreen(colour));
        row[x * 3 + 2] = static_cast<unsigned char>(qBlue(colour));
    }
    while (info.next_scanline < info.image_height) {
        if (noisy)
            for (std::size_t i = 0; i < row.size(); ++i)
                row[i] = static_cast<unsigned char>((i * 7919u + info.next_scanline * 104729u) >> 3);
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

bool near(int a, int b) { return std::abs(a - b) <= 6; }

}  // namespace

// --- JPEG ---------------------------------------------------------------------------

TEST(Jpeg, DecodesSizeAndColour) {
    const QImage img = platform::DecodeJpeg(encodeJpeg(40, 24, qRgb(200, 60, 30)));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(40, 24));
    const QRgb p = img.pixel(20, 12);
    EXPECT_TRUE(near(qRed(p), 200) && near(qGreen(p), 60) && near(qBlue(p), 30))
        << qRed(p) << "," << qGreen(p) << "," << qBlue(p);
}

TEST(Jpeg, DamagedDataGivesNoImageAndNoCrash) {
    const QByteArray good = encodeJpeg(64, 64, qRgb(10, 120, 200));
    struct Case {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"garbage", QByteArray(500, 'x')},
        {"header cut", good.left(40)},
        {"not a JPEG after the marker", QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(200, '\0')},
    };
    for (const Case& c : cases) EXPECT_TRUE(platform::DecodeJpeg(c.data).isNull()) << c.name;
    // Cut inside the picture data: the decoder fills in the rest.
    const QByteArray big = encodeJpeg(256, 256, 0, true);
    ASSERT_GT(big.size(), 20000);
    const QImage partial = platform::DecodeJpeg(big.left(big.size() * 2 / 3));
    ASSERT_FALSE(partial.isNull());
    EXPECT_EQ(partial.size(), QSize(256, 256));
    EXPECT_TRUE(platform::LoadJpeg(QStringLiteral("/nonexistent/start.jpg")).isNull());
}

// --- single instance, in this process --------------------------------------------

class InstanceLock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        saved_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }
    QTemporaryDir runtime_;
    QByteArray saved_;
};

TEST_F(InstanceLock, SecondHolderSeesTheFirstAndTheLockGoesWithIt) {
    const QString name = QString::fromLatin1(startup::kMutexName);
    EXPECT_EQ(platform::InstanceLockPath(name), QDir(runtime_.path()).filePath(name + QStringLiteral(".lock")));
    {
        platform::SingleInstance first(name);
        EXPECT_FALSE(first.AlreadyExists());
        platform::SingleInstance second(name);
        EXPECT_TRUE(second.AlreadyExists());
        platform::SingleInstance other(QStringLiteral("another/name"));
        EXPECT_FALSE(other.AlreadyExists());
        EXPECT_EQ(QFileInfo(other.Path()).dir().path(), runtime_.path());
    }
    platform::SingleInstance again(name);
    EXPECT_FALSE(again.AlreadyExists());
}

TEST_F(InstanceLock, WithoutARuntimeFolderTheLockLivesInTmp) {
    qputenv("XDG_RUNTIME_DIR", QByteArray());
    EXPECT_EQ(QFileInfo(platform::InstanceLockPath(QStringLiteral("x"))).dir().path(), QStringLiteral("/tmp"));
}

// --- two real processes -------------------------------------------------------------

class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.isValid());
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QFile::exists(program())) << "build the linkora target first";
    }
    static QString program() { return QStringLiteral(LINKORA_BIN_DIR "/linkora"); }
    void prepare(QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("LINKORA_ANSWER_BOXES"), QStringLiteral("1"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.remove(QStringLiteral("LINKORA_SHARE"));
        p.setProcessEnvironment(env);
        p.setProgram(program());
        p.setArguments({QStringLiteral("--folder"), folder_.path()});
    }
    // Waits until the first instance has started its card (its program
    // folder gets the card's memory file), so it holds the lock.
    bool waitStarted(QProcess& p, int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            if (p.state() != QProcess::Running) return false;
            if (QFile::exists(QDir(folder_.path()).filePath(QStringLiteral("registry.ini")))) return true;
            p.waitForReadyRead(100);
        }
        return false;
    }
    QTemporaryDir runtime_, folder_;
};

TEST_F(TwoProcesses, SecondStartSaysAlreadyOpenAndTheFirstRunsOn) {
    QProcess first;
    prepare(first);
    first.start();
    ASSERT_TRUE(first.waitForStarted(10000));
    ASSERT_TRUE(waitStarted(first, 60000)) << first.readAllStandardError().toStdString();

    QProcess second;
    prepare(second);
    second.start();
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardOutput(), QByteArray("Linkora is already open  \n"));
    EXPECT_EQ(first.state(), QProcess::Running) << "the first instance is left untouched";

    // SIGTERM: the destruction step runs without asking and writes the settings.
    QFile::remove(QDir(folder_.path()).filePath(QStringLiteral("allconfig.ran")));
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(60000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(QFileInfo(QDir(folder_.path()).filePath(QStringLiteral("allconfig.ran"))).size(), 4056);

    // The lock went with the process.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    platform::SingleInstance after(QString::fromLatin1(startup::kMutexName));
    EXPECT_FALSE(after.AlreadyExists());
    qunsetenv("XDG_RUNTIME_DIR");
}

// --- splash -----------------------------------------------------------------------------

class SplashTest : public UiFixture {};

TEST_F(SplashTest, SizeTextsAndPicture) {
    const QString jpg = FilePath(QStringLiteral("resource/image/start.jpg"));
    QDir().mkpath(QFileInfo(jpg).path());
    QFile::remove(jpg);
    {
        QFile f(jpg);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(encodeJpeg(388, 242, qRgb(31, 111, 178)));
    }
    TStartForm splash;
    EXPECT_EQ(splash.size(), QSize(388, 242));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    struct Case {
        QLabel* label;
        unsigned id;
    } cases[] = {{splash.Label_ProductName, 1001},
                 {splash.Label_PCSoftwareVersionCaption, 1065},
                 {splash.Label_PCSoftwareVersion, 1068},
                 {splash.Label_Init, 1069},
                 {splash.Label_Description, 1050}};
    for (const Case& c : cases) EXPECT_EQ(c.label->text(), GetString(c.id)) << c.id;
    EXPECT_FALSE(splash.LogoImage->isVisible());
    EXPECT_TRUE(splash.HasPicture());
    const QImage shot = splash.grab().toImage();
    const QRgb p = shot.pixel(shot.width() / 2, 12);
    EXPECT_TRUE(near(qRed(p), 31) && near(qGreen(p), 111) && near(qBlue(p), 178));
}

TEST_F(SplashTest, MissingOrDamagedPictureIsDrawnByItself) {
    const QString jpg = FilePath(QStringLiteral("resource/image/start.jpg"));
    QDir().mkpath(QFileInfo(jpg).path());
    for (bool damaged : {false, true}) {
        QFile::remove(jpg);
        if (damaged) {
            QFile f(jpg);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(300, '\x55'));
        }
        TStartForm splash;
        EXPECT_FALSE(splash.HasPicture()) << "damaged " << damaged;
        const QImage shot = splash.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        // The drawn background is the accent blue, not an empty window.
        const QRgb p = shot.pixel(10, 10);
        EXPECT_GT(qBlue(p), qRed(p) + 60) << "damaged " << damaged;
    }
}
