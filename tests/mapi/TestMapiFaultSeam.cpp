// The fault seam: every call that it can name consults it, fails once with the injected result, and works again
// at the next call; faults for one call fire in the order they were injected.
#include "BookTestCase.h"
#include "MapiTestSession.h"
#include "mapi/MapiFaults.h"

#include <QtTest>

namespace {
// A result that none of these calls gives by itself.
constexpr HRESULT kInjected = MAPI_E_DISK_ERROR;

template <class Object>
void ReleaseIfOpened(Object*& object)
{
    if (object) object->Release();
    object = nullptr;
}

// A second logon beside the test session, for the calls that end or need a session of their own: `step` runs
// on the new session, which is then logged off and released.
template <class Step>
HRESULT OnNewSession(Step step)
{
    IMAPISession* session = nullptr;
    HRESULT hr = MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, &session);
    if (SUCCEEDED(hr)) hr = step(session);
    if (session) session->Logoff(0, 0, 0);
    ReleaseIfOpened(session);
    return hr;
}

HRESULT LogonAndRelease()
{
    return OnNewSession([](IMAPISession*) { return S_OK; });
}

HRESULT OpenAddressBookOfANewSession()
{
    return OnNewSession([](IMAPISession* session) {
        IAddrBook* book = nullptr;
        const HRESULT hr = session->OpenAddressBook(0, nullptr, 0, &book);
        ReleaseIfOpened(book);
        return hr;
    });
}

// The session stays after a failed logoff; the logoff that ends every new session then ends it, and after a
// logoff that worked it finds nothing left to end.
HRESULT LogoffOfANewSession()
{
    return OnNewSession([](IMAPISession* session) { return session->Logoff(0, 0, 0); });
}

HRESULT InitializeAndBalance()
{
    HRESULT hr = MAPIInitialize(nullptr);
    if (SUCCEEDED(hr)) MAPIUninitialize();
    return hr;
}

HRESULT GetPab(MapiTestSession& session)
{
    ULONG cb = 0;
    LPENTRYID id = nullptr;
    HRESULT hr = session.AddrBook()->GetPAB(&cb, &id);
    MAPIFreeBuffer(id);
    return hr;
}

HRESULT OpenPab(MapiTestSession& session)
{
    ULONG type = 0;
    IUnknown* opened = nullptr;
    HRESULT hr = session.AddrBook()->OpenEntry(static_cast<ULONG>(session.PabId().size()),
                                               MapiTestSession::AsEntryId(session.PabId()), nullptr, 0, &type, &opened);
    ReleaseIfOpened(opened);
    return hr;
}

// Runs `call` on a fresh contents table of the PAB; the table's own opening is not what is tested.
template <class Call>
HRESULT OnContentsTable(MapiTestSession& session, Call call)
{
    IMAPITable* table = nullptr;
    HRESULT hr = session.Pab()->GetContentsTable(0, &table);
    if (FAILED(hr)) return hr;
    hr = call(table);
    ReleaseIfOpened(table);
    return hr;
}

HRESULT QueryAll(IMAPITable* table)
{
    LPSRowSet rows = nullptr;
    HRESULT hr = HrQueryAllRows(table, nullptr, nullptr, nullptr, 0, &rows);
    FreeProws(rows);
    return hr;
}

HRESULT QueryOneRow(IMAPITable* table)
{
    LPSRowSet rows = nullptr;
    HRESULT hr = table->QueryRows(1, 0, &rows);
    FreeProws(rows);
    return hr;
}

HRESULT SetNameColumn(IMAPITable* table)
{
    SizedSPropTagArray(1, columns) = {1, {PR_DISPLAY_NAME}};
    return table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);
}

HRESULT CountRows(IMAPITable* table)
{
    ULONG count = 0;
    return table->GetRowCount(0, &count);
}

HRESULT OpenTemplates(MapiTestSession& session)
{
    IUnknown* table = nullptr;
    HRESULT hr = session.Pab()->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &table);
    ReleaseIfOpened(table);
    return hr;
}

HRESULT CreateMailUser(MapiTestSession& session, IMAPIProp*& entry)
{
    return session.Pab()->CreateEntry(static_cast<ULONG>(session.PabId().size()),
                                      MapiTestSession::AsEntryId(session.PabId()), 0, &entry);
}

// Creates a mail user named `name`; `saved` tells whether SaveChanges is made, and the result of the last
// call made is returned.
HRESULT NewMailUser(MapiTestSession& session, const char* name, bool saved)
{
    IMAPIProp* entry = nullptr;
    HRESULT hr = CreateMailUser(session, entry);
    if (FAILED(hr)) return hr;
    SPropValue value{};
    value.ulPropTag = PR_DISPLAY_NAME;
    value.Value.lpszA = const_cast<char*>(name);
    LPSPropProblemArray problems = nullptr;
    hr = entry->SetProps(1, &value, &problems);
    MAPIFreeBuffer(problems);
    if (SUCCEEDED(hr) && saved) hr = entry->SaveChanges(0);
    ReleaseIfOpened(entry);
    return hr;
}

HRESULT CreateAndDrop(MapiTestSession& session)
{
    IMAPIProp* entry = nullptr;
    HRESULT hr = CreateMailUser(session, entry);
    ReleaseIfOpened(entry);
    return hr;
}

HRESULT ReadPabProperties(MapiTestSession& session)
{
    ULONG count = 0;
    LPSPropValue values = nullptr;
    HRESULT hr = session.Pab()->GetProps(nullptr, 0, &count, &values);
    MAPIFreeBuffer(values);
    return hr;
}

HRESULT DeleteNothing(MapiTestSession& session)
{
    ENTRYLIST none{0, nullptr};
    return session.Pab()->DeleteEntries(&none, 0);
}

const char* NameOf(MapiCall call)
{
    switch (call) {
    case MapiCall::MAPIInitialize: return "MAPIInitialize";
    case MapiCall::MAPILogonEx: return "MAPILogonEx";
    case MapiCall::OpenAddressBook: return "OpenAddressBook";
    case MapiCall::GetPAB: return "GetPAB";
    case MapiCall::OpenEntry: return "OpenEntry";
    case MapiCall::GetContentsTable: return "GetContentsTable";
    case MapiCall::HrQueryAllRows: return "HrQueryAllRows";
    case MapiCall::QueryRows: return "QueryRows";
    case MapiCall::OpenProperty: return "OpenProperty";
    case MapiCall::SetColumns: return "SetColumns";
    case MapiCall::Restrict: return "Restrict";
    case MapiCall::GetRowCount: return "GetRowCount";
    case MapiCall::CreateEntry: return "CreateEntry";
    case MapiCall::SetProps: return "SetProps";
    case MapiCall::GetProps: return "GetProps";
    case MapiCall::SaveChanges: return "SaveChanges";
    case MapiCall::DeleteEntries: return "DeleteEntries";
    case MapiCall::Logoff: return "Logoff";
    }
    return "?";
}

// Makes the one call that `call` names, the way the program makes it. The switch has no default, so that
// a call added to MapiCall without a way to drive it here does not compile.
HRESULT Drive(MapiCall call, MapiTestSession& session, int round)
{
    const std::string name = "Entry " + std::to_string(round);
    switch (call) {
    case MapiCall::MAPIInitialize: return InitializeAndBalance();
    case MapiCall::MAPILogonEx: return LogonAndRelease();
    case MapiCall::OpenAddressBook: return OpenAddressBookOfANewSession();
    case MapiCall::GetPAB: return GetPab(session);
    case MapiCall::OpenEntry: return OpenPab(session);
    case MapiCall::GetContentsTable: return OnContentsTable(session, [](IMAPITable*) { return S_OK; });
    case MapiCall::HrQueryAllRows: return OnContentsTable(session, QueryAll);
    case MapiCall::QueryRows: return OnContentsTable(session, QueryOneRow);
    case MapiCall::OpenProperty: return OpenTemplates(session);
    case MapiCall::SetColumns: return OnContentsTable(session, SetNameColumn);
    case MapiCall::Restrict: return OnContentsTable(session, [](IMAPITable* t) { return t->Restrict(nullptr, 0); });
    case MapiCall::GetRowCount: return OnContentsTable(session, CountRows);
    case MapiCall::CreateEntry: return CreateAndDrop(session);
    case MapiCall::SetProps: return NewMailUser(session, name.c_str(), false);
    case MapiCall::GetProps: return ReadPabProperties(session);
    case MapiCall::SaveChanges: return NewMailUser(session, name.c_str(), true);
    case MapiCall::DeleteEntries: return DeleteNothing(session);
    case MapiCall::Logoff: return LogoffOfANewSession();
    }
    return MAPI_E_CALL_FAILED;
}
}

class TestMapiFaultSeam : public BookTestCase {
    Q_OBJECT

private slots:
    void everyNamedCallFailsOnceWithTheInjectedResult_data()
    {
        QTest::addColumn<MapiCall>("call");
        // Logoff is the last of MapiCall; the switches without default keep this walk and the calls in step.
        for (int i = 0; i <= static_cast<int>(MapiCall::Logoff); ++i)
            QTest::newRow(NameOf(static_cast<MapiCall>(i))) << static_cast<MapiCall>(i);
    }
    void everyNamedCallFailsOnceWithTheInjectedResult()
    {
        QFETCH(MapiCall, call);
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        QCOMPARE(Drive(call, session, 1), S_OK);
        MapiFaults::Inject(call, kInjected);
        QCOMPARE(Drive(call, session, 2), kInjected);
        QCOMPARE(Drive(call, session, 3), S_OK);
    }

    void skippedCallsPassAndFaultsForOneCallFireInTurn()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiFaults::Inject(MapiCall::GetProps, kInjected, 1);
        MapiFaults::Inject(MapiCall::GetProps, MAPI_E_CALL_FAILED);
        QCOMPARE(ReadPabProperties(session), MAPI_E_CALL_FAILED);
        QCOMPARE(ReadPabProperties(session), kInjected);
        QCOMPARE(ReadPabProperties(session), S_OK);
    }

    void aFaultForOneCallLeavesTheOthersAlone()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiFaults::Inject(MapiCall::DeleteEntries, kInjected);
        QCOMPARE(NewMailUser(session, "Kept", true), S_OK);
        QCOMPARE(ReadPabProperties(session), S_OK);
        QCOMPARE(DeleteNothing(session), kInjected);
    }

    void clearDropsPendingFaults()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiFaults::Inject(MapiCall::GetPAB, kInjected);
        MapiFaults::Clear();
        QCOMPARE(GetPab(session), S_OK);
    }
};

QTEST_GUILESS_MAIN(TestMapiFaultSeam)
#include "TestMapiFaultSeam.moc"
