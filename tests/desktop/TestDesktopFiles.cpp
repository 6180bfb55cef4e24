// The program as a desktop installs it: the launcher and the catalogue entry pass the desktop's own
// validators, the program names its launcher, and an installation into a scratch prefix holds every file,
// each usable where it lies.
#include "Utf8Locale.h"
#include "app/CVRD2EditApp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
constexpr int kWaitMs = 120000;
const QString kAppId = QStringLiteral("com.korvane.TelephoneDirectory");
const QString kDesktopDir = QStringLiteral(TD_DESKTOP_DIR);
const QList<int> kIconSizes = {16, 32, 48, 64, 128, 256};

struct Run {
    bool started = false;
    int exitCode = -1;
    QString output; // standard output and error together
};

Run run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(WithUtf8Locale());
    process.start(program, args);
    Run result;
    result.started = process.waitForStarted(kWaitMs);
    if (!result.started)
        return result;
    process.waitForFinished(kWaitMs);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

// The tool's path, or an empty string and a message naming the package that brings it.
QString findTool(const QString& name, const QString& package, QString* message)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        *message = QStringLiteral("%1 is missing: install the Debian package %2 (scripts/install-deps.sh does)")
                       .arg(name, package);
    return path;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The keys of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString& path)
{
    QMap<QString, QString> keys;
    bool inEntry = false;
    for (const QString& line : QString::fromUtf8(readAll(path)).split('\n')) {
        if (line.startsWith('[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
        } else if (inEntry && !line.startsWith('#') && line.contains('=')) {
            const qsizetype eq = line.indexOf('=');
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
        }
    }
    return keys;
}

struct Catalogue {
    QString id;
    QString launchable;
    QStringList binaries;
    QStringList releases; // newest first, as the file lists them
    QString error;
};

Catalogue readCatalogue(const QString& path)
{
    Catalogue c;
    QXmlStreamReader xml(readAll(path));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("id"))
            c.id = xml.readElementText();
        else if (name == QLatin1String("launchable"))
            c.launchable = xml.readElementText();
        else if (name == QLatin1String("binary"))
            c.binaries << xml.readElementText();
        else if (name == QLatin1String("release"))
            c.releases << xml.attributes().value(QLatin1String("version")).toString();
    }
    if (xml.hasError())
        c.error = xml.errorString();
    return c;
}

QString iconPath(int size)
{
    return QStringLiteral(TD_DATADIR "/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kAppId);
}
}

class TestDesktopFiles : public QObject {
    Q_OBJECT
private slots:
    void validatorsAcceptTheSources_data();
    void validatorsAcceptTheSources();
    void sourcesAgreeWithEachOtherAndTheProgram();
    void programNamesItsLauncher();
    void installationHoldsExactlyTheExpectedFiles();
    void installedIconsAreRenderedAtTheirSizes();
    void installedLauncherFindsProgramAndIcon();
    void installedTreePassesTheValidators();

private:
    QString prefixPath(const QString& relative) const { return m_prefix.filePath(relative); }
    QStringList expectedPrograms() const;
    bool install();

    QTemporaryDir m_prefix;
    bool m_installTried = false;
    QString m_installProblem; // empty once the installation has succeeded
};

// Installs the build into the scratch prefix on the first call; false with the reason if that failed.
bool TestDesktopFiles::install()
{
    if (m_installTried)
        return m_installProblem.isEmpty();
    m_installTried = true;
    if (!TD_RSVG_FOUND) {
        m_installProblem = QStringLiteral("rsvg-convert (Debian package librsvg2-bin) was not found when the build "
                                          "was configured, so the PNG icons were not made: run "
                                          "scripts/install-deps.sh and configure again");
    } else if (!m_prefix.isValid()) {
        m_installProblem = QStringLiteral("no scratch folder: ") + m_prefix.errorString();
    } else {
        const Run result = run(QStringLiteral(TD_CMAKE), {QStringLiteral("--install"), QStringLiteral(TD_BUILD_DIR),
                                                          QStringLiteral("--prefix"), m_prefix.path()});
        if (!result.started || result.exitCode != 0)
            m_installProblem = QStringLiteral("cmake --install failed:\n") + result.output;
    }
    return m_installProblem.isEmpty();
}

QStringList TestDesktopFiles::expectedPrograms() const
{
    QStringList programs = {QStringLiteral("telephone-directory"), QStringLiteral("telephone-link"),
                            QStringLiteral("telephone-emulator")};
    if (TD_ADDRESS_BOOK_BUILT)
        programs << QStringLiteral("address-book");
    return programs;
}

void TestDesktopFiles::validatorsAcceptTheSources_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("launcher") << "desktop-file-validate" << "desktop-file-utils"
                              << QStringList{kDesktopDir + '/' + kAppId + ".desktop"};
    // --strict fails on every issue above the pedantic hints; the one hint left is the id's capitals, which
    // reverse-DNS ids commonly have.
    QTest::newRow("catalogue entry") << "appstreamcli" << "appstream"
                                     << QStringList{"validate", "--no-net", "--strict", "--pedantic",
                                                    kDesktopDir + '/' + kAppId + ".metainfo.xml"};
}

void TestDesktopFiles::validatorsAcceptTheSources()
{
    QFETCH(QString, tool);
    QFETCH(QString, package);
    QFETCH(QStringList, args);
    QString message;
    const QString path = findTool(tool, package, &message);
    QVERIFY2(!path.isEmpty(), qPrintable(message));
    const Run result = run(path, args);
    QVERIFY2(result.started, qPrintable(tool + " did not start"));
    QVERIFY2(result.exitCode == 0, qPrintable(result.output));
    if (tool == QLatin1String("desktop-file-validate")) // it prints nothing but its complaints, hints included
        QVERIFY2(result.output.trimmed().isEmpty(), qPrintable(result.output));
    else
        QVERIFY2(!result.output.contains(QRegularExpression(QStringLiteral("^\\s*[EWI]: "),
                                                            QRegularExpression::MultilineOption)),
                 qPrintable(result.output));
}

void TestDesktopFiles::sourcesAgreeWithEachOtherAndTheProgram()
{
    const Catalogue catalogue = readCatalogue(kDesktopDir + '/' + kAppId + ".metainfo.xml");
    QVERIFY2(catalogue.error.isEmpty(), qPrintable(catalogue.error));
    QCOMPARE(catalogue.id, kAppId);
    QCOMPARE(catalogue.launchable, kAppId + ".desktop");
    const QStringList provided = {QStringLiteral("telephone-directory"), QStringLiteral("telephone-link"),
                                  QStringLiteral("address-book")};
    QCOMPARE(catalogue.binaries, provided);
    // The newest release is the version the build and the program carry.
    QVERIFY(!catalogue.releases.isEmpty());
    QCOMPARE(catalogue.releases.first(), QStringLiteral(TD_PROJECT_VERSION));

    const QMap<QString, QString> entry = desktopEntry(kDesktopDir + '/' + kAppId + ".desktop");
    QCOMPARE(entry.value(QStringLiteral("Icon")), kAppId);
    QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("telephone-directory"));
    QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Telephone Directory"));
}

void TestDesktopFiles::programNamesItsLauncher()
{
    QVERIFY(CVRD2EditApp::Instance()->InitInstance());
    const QStringList launchers = QDir(kDesktopDir).entryList({QStringLiteral("*.desktop")}, QDir::Files);
    QCOMPARE(launchers, QStringList{QGuiApplication::desktopFileName() + ".desktop"});
}

void TestDesktopFiles::installationHoldsExactlyTheExpectedFiles()
{
    QVERIFY2(install(), qPrintable(m_installProblem));
    QStringList expected;
    for (const QString& program : expectedPrograms())
        expected << QStringLiteral(TD_BINDIR "/") + program;
    expected << QStringLiteral(TD_DATADIR "/applications/") + kAppId + ".desktop"
             << QStringLiteral(TD_DATADIR "/metainfo/") + kAppId + ".metainfo.xml"
             << QStringLiteral(TD_DATADIR "/icons/hicolor/scalable/apps/") + kAppId + ".svg"
             << QStringLiteral(TD_DOCDIR "/diradi.html")
             << QStringLiteral(TD_DATADIR "/telephone-directory/screenshots/screenshot.png")
             << QStringLiteral(TD_DATADIR "/telephone-directory/screenshots/screenshot-dark.png");
    for (int size : kIconSizes)
        expected << iconPath(size);

    // Nothing else: no test, benchmark or library finds its way in.
    QStringList installed;
    const QDir prefix(m_prefix.path());
    QDirIterator it(m_prefix.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        installed << prefix.relativeFilePath(it.next());
    installed.sort();
    expected.sort();
    QCOMPARE(installed, expected);

    for (const QString& file : installed)
        QVERIFY2(QFileInfo(prefixPath(file)).size() > 0, qPrintable(file + " is empty"));
    for (const QString& program : expectedPrograms()) {
        const QFileInfo info(prefixPath(QStringLiteral(TD_BINDIR "/") + program));
        QVERIFY2(info.isExecutable(), qPrintable(info.filePath() + " is not executable"));
    }
    // The copies are the sources themselves.
    QCOMPARE(readAll(prefixPath(QStringLiteral(TD_DOCDIR "/diradi.html"))), readAll(QStringLiteral(TD_HELP_FILE)));
    QCOMPARE(readAll(prefixPath(QStringLiteral(TD_DATADIR "/icons/hicolor/scalable/apps/") + kAppId + ".svg")),
             readAll(kDesktopDir + '/' + kAppId + ".svg"));

    // The installed program answers with the version of the build and the catalogue.
    const Run version = run(prefixPath(QStringLiteral(TD_BINDIR "/telephone-directory")), {"--version"});
    QVERIFY2(version.started, "the installed telephone-directory did not start");
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.output.trimmed(), QStringLiteral("Telephone Directory " TD_PROJECT_VERSION));
}

void TestDesktopFiles::installedIconsAreRenderedAtTheirSizes()
{
    QVERIFY2(install(), qPrintable(m_installProblem));
    for (int size : kIconSizes) {
        const QString path = prefixPath(iconPath(size));
        QImage image;
        QVERIFY2(image.load(path, "PNG"), qPrintable(path + " is no PNG"));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY2(image.hasAlphaChannel(), qPrintable(path));
        // A drawing on a clear ground: the corner shows through, the middle is covered.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        // The small sizes are drawn on the pixel grid, not scaled down: no pixel is a blend of edge and ground.
        if (size <= 32) {
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const int alpha = qAlpha(image.pixel(x, y));
                    QVERIFY2(alpha == 0 || alpha == 255, qPrintable(QStringLiteral("%1 at %2,%3").arg(path).arg(x).arg(y)));
                }
        }
    }
}

void TestDesktopFiles::installedLauncherFindsProgramAndIcon()
{
    QVERIFY2(install(), qPrintable(m_installProblem));
    const QString launcher = prefixPath(QStringLiteral(TD_DATADIR "/applications/") + kAppId + ".desktop");
    const QMap<QString, QString> entry = desktopEntry(launcher);
    for (const char* key : {"Exec", "TryExec"}) {
        const QString program = entry.value(QLatin1String(key)).section(' ', 0, 0);
        QVERIFY2(!program.isEmpty(), key);
        const QFileInfo info(prefixPath(QStringLiteral(TD_BINDIR "/") + program));
        QVERIFY2(info.isFile() && info.isExecutable(), qPrintable(QStringLiteral("%1=%2 is not in %3")
                                                                      .arg(key, program, info.path())));
    }
    // The icon theme finds the name at every size and as the scalable drawing.
    const QString icon = entry.value(QStringLiteral("Icon"));
    QVERIFY(!icon.isEmpty() && !icon.contains('/'));
    const QString hicolor = prefixPath(QStringLiteral(TD_DATADIR "/icons/hicolor/"));
    QVERIFY2(QFileInfo::exists(hicolor + "scalable/apps/" + icon + ".svg"), qPrintable(icon));
    for (int size : kIconSizes)
        QVERIFY2(QFileInfo::exists(hicolor + QStringLiteral("%1x%1/apps/").arg(size) + icon + ".png"),
                 qPrintable(QStringLiteral("%1 at %2").arg(icon).arg(size)));

    // The catalogue entry names this launcher, and every program it says it provides is there.
    const Catalogue catalogue =
        readCatalogue(prefixPath(QStringLiteral(TD_DATADIR "/metainfo/") + kAppId + ".metainfo.xml"));
    QVERIFY2(catalogue.error.isEmpty(), qPrintable(catalogue.error));
    QVERIFY(QFileInfo::exists(prefixPath(QStringLiteral(TD_DATADIR "/applications/") + catalogue.launchable)));
    for (const QString& binary : catalogue.binaries) {
        if (binary == QLatin1String("address-book") && !TD_ADDRESS_BOOK_BUILT)
            continue; // its folder does not build it yet; once it does, it must be installed
        QVERIFY2(QFileInfo::exists(prefixPath(QStringLiteral(TD_BINDIR "/") + binary)), qPrintable(binary));
    }
}

void TestDesktopFiles::installedTreePassesTheValidators()
{
    QVERIFY2(install(), qPrintable(m_installProblem));
    QString message;
    const QString desktopValidate = findTool(QStringLiteral("desktop-file-validate"),
                                             QStringLiteral("desktop-file-utils"), &message);
    QVERIFY2(!desktopValidate.isEmpty(), qPrintable(message));
    const QString appstream = findTool(QStringLiteral("appstreamcli"), QStringLiteral("appstream"), &message);
    QVERIFY2(!appstream.isEmpty(), qPrintable(message));

    const Run launcher = run(desktopValidate,
                             {prefixPath(QStringLiteral(TD_DATADIR "/applications/") + kAppId + ".desktop")});
    QVERIFY2(launcher.exitCode == 0 && launcher.output.trimmed().isEmpty(), qPrintable(launcher.output));
    // The tree check also finds the launcher the catalogue entry names.
    const Run tree = run(appstream, {"validate-tree", "--no-net", "--strict", m_prefix.path()});
    QVERIFY2(tree.exitCode == 0, qPrintable(tree.output));
}

int main(int argc, char* argv[])
{
    // The program's single-instance lock goes into a scratch runtime folder.
    const QTemporaryDir runtime;
    if (!runtime.isValid())
        return 1;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    CVRD2EditApp app(argc, argv);
    TestDesktopFiles test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestDesktopFiles.moc"
