#pragma once
// The classes of error reports. Each has a caption of its own; a report is a class and a message id.
namespace ErrorClass {
constexpr int kAddressBook = 2;
constexpr int kTelephoneWrite = 3;
constexpr int kInput = 4;
constexpr int kTelephoneRead = 5;
}
