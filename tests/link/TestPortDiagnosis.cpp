// What the link says about a serial device, worked out on a file-system tree of the test's own (devices, /sys,
// /proc and lock files laid out as Linux lays them out), and the scan of the real /dev.
#include "link/PortDiagnosis.h"
#include "link/PortHolders.h"
#include "link/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {
bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool makeLink(const QString& target, const QString& link)
{
    QDir().mkpath(QFileInfo(link).path());
    return QFile::link(target, link);
}

// A process in the fake /proc: its name, and descriptors pointing at the given paths.
bool makeProcess(const QString& root, qint64 pid, const QByteArray& name, const QStringList& openFiles)
{
    const QString dir = QStringLiteral("%1/proc/%2").arg(root).arg(pid);
    bool ok = writeFile(dir + "/comm", name + '\n');
    for (int fd = 0; fd < openFiles.size(); ++fd) ok = ok && makeLink(openFiles[fd], QStringLiteral("%1/fd/%2").arg(dir).arg(fd));
    QDir().mkpath(dir + "/fd");
    return ok;
}
}

class TestPortDiagnosis : public QObject {
    Q_OBJECT
private slots:
    void scanFindsSerialDevices_data();
    void scanFindsSerialDevices();
    void scanOrdersAndNamesByIdAliases();
    void missingDeviceNamesItAndListsTheOthers();
    void noSerialDevicesAtAll();
    void holdersAreFoundThroughTheirDescriptors();
    void busyDeviceNamesItsHolderAndModemManagerRemedy();
    void lockFilesRunningAndStale();
    void noAnswerAndNoPhonebookTexts_data();
    void noAnswerAndNoPhonebookTexts();
    void realScanAndRealHolders();
};

void TestPortDiagnosis::scanFindsSerialDevices_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sysType"); // the /sys/class/tty/NAME/type; empty: no such file
    QTest::addColumn<bool>("listed");
    QTest::newRow("USB serial") << "ttyUSB0" << "" << true;
    QTest::newRow("ACM phone") << "ttyACM3" << "" << true;
    QTest::newRow("Bluetooth") << "rfcomm0" << "" << true;
    QTest::newRow("on-board 16550A") << "ttyS0" << "4" << true;
    QTest::newRow("on-board without UART") << "ttyS5" << "0" << false;
    QTest::newRow("on-board, kernel silent, not a port") << "ttyS7" << "" << false;
    QTest::newRow("console") << "tty0" << "" << false;
    QTest::newRow("pseudo-terminal master") << "ptmx" << "" << false;
    QTest::newRow("name without number") << "ttyUSB" << "" << false;
}

void TestPortDiagnosis::scanFindsSerialDevices()
{
    QFETCH(QString, name);
    QFETCH(QString, sysType);
    QFETCH(bool, listed);
    QTemporaryDir root;
    QVERIFY(writeFile(root.filePath("dev/" + name), {}));
    if (!sysType.isEmpty()) QVERIFY(writeFile(root.filePath("sys/class/tty/" + name + "/type"), sysType.toLatin1() + '\n'));
    const QList<SerialDevice> found = SerialDevices::scan(root.path());
    QCOMPARE(found.size(), listed ? 1 : 0);
    if (listed) QCOMPARE(found.first().path, "/dev/" + name);
}

void TestPortDiagnosis::scanOrdersAndNamesByIdAliases()
{
    QTemporaryDir root;
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyUSB0", "rfcomm1"}) QVERIFY(writeFile(root.filePath("dev/") + name, {}));
    QVERIFY(makeLink("../../ttyUSB10", root.filePath("dev/serial/by-id/usb-Nokia_6310i-if00-port0")));
    QStringList shown;
    for (const SerialDevice& device : SerialDevices::scan(root.path())) shown.append(device.path + '|' + device.alias);
    QCOMPARE(shown, QStringList({"/dev/rfcomm1|", "/dev/ttyACM0|", "/dev/ttyUSB0|", "/dev/ttyUSB2|",
                                 "/dev/ttyUSB10|/dev/serial/by-id/usb-Nokia_6310i-if00-port0"}));
}

void TestPortDiagnosis::missingDeviceNamesItAndListsTheOthers()
{
    QTemporaryDir root;
    QVERIFY(writeFile(root.filePath("dev/ttyACM0"), {}));
    QVERIFY(makeLink("../../ttyACM0", root.filePath("dev/serial/by-id/usb-Siemens_S55-if00")));
    for (const int error : {ENOENT, ENODEV, ENXIO}) {
        const QString text = PortDiagnosis(root.path()).openFailure("/dev/ttyUSB0", error);
        QVERIFY2(text.startsWith("The device /dev/ttyUSB0 does not exist"), qPrintable(text));
        QVERIFY2(text.contains("Serial devices present: /dev/ttyACM0 (/dev/serial/by-id/usb-Siemens_S55-if00)."),
                 qPrintable(text));
    }
}

void TestPortDiagnosis::noSerialDevicesAtAll()
{
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath("dev")));
    const QString text = PortDiagnosis(root.path()).openFailure("/dev/rfcomm0", ENOENT);
    QVERIFY2(text.contains("/dev/rfcomm0") && text.contains("No serial devices are present"), qPrintable(text));
}

void TestPortDiagnosis::holdersAreFoundThroughTheirDescriptors()
{
    QTemporaryDir root;
    QVERIFY(makeProcess(root.path(), 612, "ModemManager", {"/dev/null", "/dev/ttyUSB0"}));
    QVERIFY(makeProcess(root.path(), 700, "bash", {"/dev/pts/0"}));
    QVERIFY(makeProcess(root.path(), 701, "minicom", {"/dev/ttyUSB1", "/dev/ttyUSB0"}));
    QVERIFY(writeFile(root.filePath("proc/self-not-a-pid/comm"), "x\n"));
    QStringList holders;
    for (const PortHolder& holder : PortHolders(root.path()).holding("/dev/ttyUSB0"))
        holders.append(QStringLiteral("%1 %2").arg(holder.name).arg(holder.pid));
    holders.sort();
    QCOMPARE(holders, QStringList({"ModemManager 612", "minicom 701"}));
    QCOMPARE(PortHolders(root.path()).named("bash").size(), 1);
    QVERIFY(PortHolders(root.path()).holding("/dev/ttyUSB9").isEmpty());
}

void TestPortDiagnosis::busyDeviceNamesItsHolderAndModemManagerRemedy()
{
    QTemporaryDir root;
    QVERIFY(makeProcess(root.path(), 612, "ModemManager", {"/dev/ttyUSB0"}));
    // The adapter's USB ids sit two folders above its tty in /sys, reached through the class link.
    const QString usb = root.filePath("sys/devices/pci0000:00/usb1/1-2");
    QVERIFY(writeFile(usb + "/idVendor", "12d1\n") && writeFile(usb + "/idProduct", "1001\n"));
    QVERIFY(QDir().mkpath(usb + "/1-2:1.0/ttyUSB0"));
    QVERIFY(makeLink(usb + "/1-2:1.0/ttyUSB0", root.filePath("sys/class/tty/ttyUSB0/device")));
    const QString text = PortDiagnosis(root.path()).openFailure("/dev/ttyUSB0", EBUSY);
    for (const char* part : {"The device /dev/ttyUSB0 is in use by another program.", "ModemManager (PID 612)",
                             "sudo systemctl stop ModemManager",
                             "ATTRS{idVendor}==\"12d1\", ATTRS{idProduct}==\"1001\", ENV{ID_MM_DEVICE_IGNORE}=\"1\""})
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" missing in:\n") + text));
    QVERIFY2(!text.contains("kill 612"), qPrintable(text));
}

void TestPortDiagnosis::lockFilesRunningAndStale()
{
    QTemporaryDir root;
    QVERIFY(makeProcess(root.path(), 456, "minicom", {}));
    QVERIFY(writeFile(root.filePath("var/lock/LCK..ttyUSB0"), "       456\n"));
    QVERIFY(writeFile(root.filePath("var/lock/LCK..ttyUSB1"), "99999\ncu\nhost\n"));
    const PortDiagnosis diagnosis(root.path());
    const QString held = diagnosis.openFailure("/dev/ttyUSB0", EBUSY);
    QVERIFY2(held.contains("LCK..ttyUSB0 says that minicom (PID 456) uses it."), qPrintable(held));
    const QString stale = diagnosis.openFailure("/dev/ttyUSB1", EBUSY);
    QVERIFY2(stale.contains("no longer runs") && stale.contains("sudo rm " + root.filePath("var/lock/LCK..ttyUSB1")),
             qPrintable(stale));
    const QString unknown = diagnosis.openFailure("/dev/ttyUSB2", EBUSY);
    QVERIFY2(unknown.contains("sudo fuser -v /dev/ttyUSB2"), qPrintable(unknown));
    QVERIFY(!unknown.contains("ModemManager"));
    // Opens here but not for the link: the lock file is what stood in the way, else it is no serial port.
    const QString locked = diagnosis.openFailure("/dev/ttyUSB0", 0, "Permission error while locking the device");
    QVERIFY2(locked.contains("minicom (PID 456)"), qPrintable(locked));
    const QString plain = diagnosis.openFailure("/dev/ttyUSB2", 0, "Inappropriate ioctl for device");
    QVERIFY2(plain.contains("opens, but not as a serial port (Inappropriate ioctl for device)"), qPrintable(plain));
}

void TestPortDiagnosis::noAnswerAndNoPhonebookTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("parts");
    QTemporaryDir root;
    const PortDiagnosis diagnosis(root.path());
    QTest::newRow("silent") << diagnosis.noAnswer("/dev/ttyS0", 115200, 8000, false)
                            << QStringList{"nothing answered \"AT\" within 8 s", "wrong port", "115200 baud",
                                           "not a phone", "No serial devices are present"};
    QTest::newRow("garbage") << diagnosis.noAnswer("/dev/ttyUSB0", 9600, 2500, true)
                             << QStringList{"no readable answer", "within 3 s", "9600 baud is wrong"};
    QTest::newRow("data-only modem") << diagnosis.noPhonebook("/dev/ttyUSB2")
                                     << QStringList{"/dev/ttyUSB2 answers AT commands but has no phone book",
                                                    "\"AT+CPBS=?\"", "data-only modem"};
}

void TestPortDiagnosis::noAnswerAndNoPhonebookTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, parts);
    for (const QString& part : parts) QVERIFY2(text.contains(part), qPrintable(part + " missing in:\n" + text));
}

void TestPortDiagnosis::realScanAndRealHolders()
{
    // Whatever this computer has: every device listed is there, and looking at every process does not fail.
    for (const SerialDevice& device : SerialDevices::scan()) {
        QVERIFY2(QFileInfo::exists(device.path), qPrintable(device.path));
        if (!device.alias.isEmpty()) QCOMPARE(QFileInfo(device.alias).canonicalFilePath(), device.path);
    }
    QVERIFY(PortHolders().holding("/dev/ttyUSB-none").isEmpty());
    QVERIFY(!PortDiagnosis().openFailure("/dev/ttyUSB-none").isEmpty());
    QVERIFY(PortHolders().named("no-such-program-here").isEmpty());
}

QTEST_GUILESS_MAIN(TestPortDiagnosis)
#include "TestPortDiagnosis.moc"
