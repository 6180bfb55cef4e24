#include "FormTestCase.h"

#include <QTest>

namespace {
void CollectLeftOpen(const std::vector<std::unique_ptr<FormFixture>>& forms, QStringList& open)
{
    for (const auto& form : forms)
        for (const std::string& item : form->Questions().LeftOpen()) open << QString::fromStdString(item);
}
}

FormFixture& FormTestCase::NewForm()
{
    return *m_forms.emplace_back(std::make_unique<FormFixture>());
}

FormFixture& FormTestCase::NewSharedForm()
{
    return *m_sharedForms.emplace_back(std::make_unique<FormFixture>());
}

void FormTestCase::cleanup()
{
    // Checked while the forms still stand; a failed check must not keep them open for the next test.
    QStringList open;
    CollectLeftOpen(m_forms, open);
    CollectLeftOpen(m_sharedForms, open);
    for (auto& form : m_sharedForms) form->Questions().Clear();
    m_forms.clear();
    AfterEachTest();
    QVERIFY2(open.isEmpty(), qPrintable(QStringLiteral("questions left open: ") + open.join(QStringLiteral("; "))));
}

void FormTestCase::cleanupTestCase()
{
    m_sharedForms.clear();
}
