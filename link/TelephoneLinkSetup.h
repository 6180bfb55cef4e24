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

#include <QString>

class QCommandLineParser;

bool StartTelephoneLink(const QString& deviceOption, QString* error);
void StopTelephoneLink();

// Points the link at a device directly (tools and tests); requests already queued use it as well.
void ConnectTelephoneLink(const LinkOptions& options);
// The device in use; empty when none.
QString TelephoneLinkDevice();
// Commands and bytes that went over the line so far (waits for the requests made before).
LinkCounters TelephoneLinkCounters();
// Adds --device PATH to a command line.
void AddTelephoneLinkOptions(QCommandLineParser& parser);
QString TelephoneLinkDeviceOption(const QCommandLineParser& parser);
