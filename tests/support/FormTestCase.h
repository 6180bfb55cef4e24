#pragma once
// The base of every test of the program on real widgets. A test function makes its forms with NewForm(); a test
// class that keeps one form for all its functions makes it with NewSharedForm() in initTestCase(). After every
// test function the cleanup fails the test when a form's question went unanswered, a scripted answer was never
// asked for, or a report was made that the test did not take; then it closes the test function's forms.
#include "FormFixture.h"

#include <QObject>

#include <memory>
#include <vector>

class FormTestCase : public QObject {
    Q_OBJECT
protected:
    FormFixture& NewForm();
    FormFixture& NewSharedForm();
    // Runs after the test function's forms are closed: for seams of the test's own (injected faults).
    virtual void AfterEachTest() {}

private slots:
    void cleanup();
    void cleanupTestCase();

private:
    std::vector<std::unique_ptr<FormFixture>> m_forms;
    std::vector<std::unique_ptr<FormFixture>> m_sharedForms;
};
