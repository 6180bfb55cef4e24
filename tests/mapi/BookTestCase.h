#pragma once
// What each test function of the MAPI layer's tests starts from: an address-book file of its own, in a temporary
// folder that goes with the test object, and no fault left injected by the function before.
#include <QObject>
#include <QTemporaryDir>

#include <string>

class BookTestCase : public QObject {
    Q_OBJECT

protected:
    std::string m_file; // the current test function's book; it does not exist until a logon makes it

private slots:
    void init();
    void cleanup();

private:
    QTemporaryDir m_dir;
    int m_counter = 0;
};
