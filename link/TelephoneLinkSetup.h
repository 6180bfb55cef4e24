#pragma once
// Connecting the telephone link at program start and ending it at exit.
//
// main() calls StartTelephoneLink(value of --device or empty) once after creating the application (whose
// organisation "Korvane" and application name "Telvora PRO" select the settings), and StopTelephoneLink()
// before it returns. The device is, in this order: the option, the setting "Link/Device" (with "Link/Baud"),
// else the built-in phone emulator on a pseudo-terminal, its state in the user's data folder
// ("phone-state.json", seeded with sample entries when missing).
#include "link/LinkOptions.h"
#include "link/LinkWorker.h"
#include "link/PhonebookRecords.h"

#include <QString>

class QCommandLineParser;

bool StartTelephoneLink(const QString& deviceOption, QString* error);
void StopTelephoneLink();

// Moves the link to another telephone while the program runs: device, or the built-in phone emulator when it
// is empty. The new telephone is made ready before the old one is left, so a failure (the emulator could not
// start) keeps the link as it was and says why. On success the choice is kept in the setting "Link/Device"
// (removed for the built-in phone) for the program's next start.
bool SwitchTelephoneLink(const QString& device, QString* error);
// The telephone in use as the user chose it: its device, or empty for the built-in phone emulator.
QString ChosenTelephoneDevice();

// The device path the link opens for a path as the user gave it: a relative path that holds "/" or names a
// file in the current folder is taken from the current folder, made absolute; a bare name that is no file
// here names a device under /dev, as serial ports are named ("ttyUSB0" is /dev/ttyUSB0). Every path that
// enters the link passes here, so that the link and its reports name the device actually meant.
QString ResolveTelephoneDevice(const QString& device);

// Points the link at a device directly (tools and tests); requests already queued use it as well.
void ConnectTelephoneLink(const LinkOptions& options);
// The device in use; empty when none.
QString TelephoneLinkDevice();
// Commands and bytes that went over the line so far (waits for the requests made before).
LinkCounters TelephoneLinkCounters();
// The records of the read or span read whose end is being handled (valid where ATPBGet's block is), with their
// names as text exactly as the phone holds them: what a backup of the directory keeps (DirectoryBackup.h).
QList<PhoneRecord> TelephoneLinkReadRecords();
// What the link found wrong with the device at the request that ended last; empty when nothing.
QString TelephoneLinkDiagnosis();

// The --device PATH option, defined here only: every program that talks to the phone adds it with
// AddTelephoneLinkOptions and reads it with TelephoneLinkDeviceOption (empty when not given), then hands it to
// StartTelephoneLink.
void AddTelephoneLinkOptions(QCommandLineParser& parser);
QString TelephoneLinkDeviceOption(const QCommandLineParser& parser);
