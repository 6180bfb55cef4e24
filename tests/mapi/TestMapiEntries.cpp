// The address book calls as the program makes them: folder scan, reading entries, saving, templates,
// duplicate names, deletion, and the fault seam.
#include "BookTestCase.h"
#include "MapiTestSession.h"
#include "mapi/MapiFaults.h"

#include <QtTest>

#include <algorithm>

namespace {
const std::map<ULONG, std::string> kMeier = {{PR_DISPLAY_NAME, "Meier"},
                                             {PR_PRIMARY_TELEPHONE_NUMBER, "+4930123"},
                                             {PR_ADDRTYPE, "SMTP"},
                                             {PR_EMAIL_ADDRESS, "- -"},
                                             {PR_COMMENT, "Standard-Status - Index: 1 "}};
}

class TestMapiEntries : public BookTestCase {
    Q_OBJECT

private slots:
    void newBookHasAnEmptyPabReachedThroughTheProgramsCalls()
    {
        MapiTestSession session(m_file);
        QVERIFY2(session.Ok(), "logon, address book, GetPAB and OpenEntry of the PAB");
        QVERIFY(session.Rows(session.Pab()).empty());
        ULONG type = 0;
        IUnknown* opened = nullptr;
        QCOMPARE(session.AddrBook()->OpenEntry(static_cast<ULONG>(session.PabId().size()),
                                               MapiTestSession::AsEntryId(session.PabId()), nullptr,
                                               MAPI_MODIFY | MAPI_BEST_ACCESS, &type, &opened),
                 S_OK);
        QCOMPARE(type, MAPI_ABCONT);
        opened->Release();
        QCOMPARE(session.Props(session.PabId())[PR_DISPLAY_NAME], std::string("Personal Address Book"));
    }

    void mailUserCreatedFromThePabIdentifierReadsBackWithAllProperties()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        HRESULT templateResult = S_OK;
        QVERIFY(session.TemplateFor(session.Pab(), "", &templateResult).empty());
        QCOMPARE(templateResult, S_OK);
        MapiTestSession::Bytes id;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier, &id), S_OK);
        QVERIFY(!id.empty());

        const auto rows = session.Rows(session.Pab(), 0);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].at(PR_ENTRYID), id);
        QCOMPARE(rows[0].at(PR_DISPLAY_NAME), std::string("Meier"));
        QCOMPARE(rows[0].at(PR_OBJECT_TYPE), std::to_string(MAPI_MAILUSER));
        QVERIFY2(session.Rows(session.Pab(), MAPI_ASSOCIATED) == rows, "flag 0x40 lists the same entries");

        const auto props = session.Props(id);
        for (const auto& [tag, text] : kMeier) QCOMPARE(props.at(tag), text);
        QCOMPARE(props.at(PR_OBJECT_TYPE), std::to_string(MAPI_MAILUSER));
        QCOMPARE(props.at(PR_ENTRYID), id);
    }

    void listTemplateCreatesNestedDistributionLists()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        const auto listTemplate = session.TemplateFor(session.Pab(), "MAPIPDL");
        QVERIFY(!listTemplate.empty());
        MapiTestSession::Bytes listA;
        MapiTestSession::Bytes listB;
        QCOMPARE(session.Create(session.Pab(), listTemplate, {{PR_DISPLAY_NAME, "A"}}, &listA), S_OK);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier), S_OK);
        QCOMPARE(session.Create(session.Pab(), listTemplate, {{PR_DISPLAY_NAME, "B"}}, &listB), S_OK);

        IABContainer* a = session.OpenContainer(listA);
        QVERIFY(a);
        const auto innerTemplate = session.TemplateFor(a, "MAPIPDL");
        QCOMPARE(innerTemplate, listTemplate);
        QCOMPARE(session.Create(a, innerTemplate, {{PR_DISPLAY_NAME, "A1"}}), S_OK);
        // No template for "": the PAB's identifier creates a mail user, in the list that is asked.
        QCOMPARE(session.Create(a, session.PabId(), {{PR_DISPLAY_NAME, "In A"}}), S_OK);

        const auto top = session.Rows(session.Pab());
        QCOMPARE(top.size(), size_t(3));
        QCOMPARE(top[0].at(PR_DISPLAY_NAME), std::string("A"));
        QCOMPARE(top[0].at(PR_OBJECT_TYPE), std::to_string(MAPI_DISTLIST));
        QCOMPARE(top[1].at(PR_OBJECT_TYPE), std::to_string(MAPI_MAILUSER));
        QCOMPARE(top[2].at(PR_DISPLAY_NAME), std::string("B"));
        const auto inner = session.Rows(a);
        QCOMPARE(inner.size(), size_t(2));
        QCOMPARE(inner[0].at(PR_DISPLAY_NAME), std::string("A1"));
        QCOMPARE(inner[0].at(PR_OBJECT_TYPE), std::to_string(MAPI_DISTLIST));
        QCOMPARE(inner[1].at(PR_OBJECT_TYPE), std::to_string(MAPI_MAILUSER));

        LPVOID asList = nullptr;
        QCOMPARE(a->QueryInterface(IID_IDistList, &asList), S_OK);
        static_cast<IUnknown*>(asList)->Release();
        a->Release();
    }

    void restrictionSelectsOnlyMatchingTemplatesAndRowsKeepColumnOrder()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        IUnknown* unknown = nullptr;
        QCOMPARE(session.Pab()->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &unknown), S_OK);
        auto* table = static_cast<IMAPITable*>(unknown);
        ULONG all = 0;
        QCOMPARE(table->GetRowCount(0, &all), S_OK);
        QVERIFY(all >= 1);
        SizedSPropTagArray(2, columns) = {2, {PR_ADDRTYPE, PR_ENTRYID}};
        QCOMPARE(table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0), S_OK);
        SPropValue wanted{};
        wanted.ulPropTag = PR_ADDRTYPE;
        wanted.Value.lpszA = const_cast<char*>("MAPIPDL");
        SRestriction restriction{};
        restriction.rt = RES_PROPERTY;
        restriction.res.resProperty = SPropertyRestriction{RELOP_EQ, PR_ADDRTYPE, &wanted};
        QCOMPARE(table->Restrict(&restriction, 0), S_OK);
        ULONG count = 0;
        QCOMPARE(table->GetRowCount(0, &count), S_OK);
        QCOMPARE(count, ULONG(1));
        LPSRowSet rows = nullptr;
        QCOMPARE(table->QueryRows(static_cast<LONG>(count), 0, &rows), S_OK);
        QCOMPARE(rows->cRows, ULONG(1));
        QCOMPARE(rows->aRow[0].cValues, ULONG(2));
        QCOMPARE(rows->aRow[0].lpProps[0].ulPropTag, PR_ADDRTYPE);
        QCOMPARE(std::string(rows->aRow[0].lpProps[0].Value.lpszA), std::string("MAPIPDL"));
        QCOMPARE(rows->aRow[0].lpProps[1].ulPropTag, PR_ENTRYID);
        FreeProws(rows);
        // Reading on past the end gives an empty row set, not an error.
        QCOMPARE(table->QueryRows(10, 0, &rows), S_OK);
        QCOMPARE(rows->cRows, ULONG(0));
        FreeProws(rows);

        wanted.Value.lpszA = const_cast<char*>("mapipdl");
        QCOMPARE(table->Restrict(&restriction, 0), S_OK);
        QCOMPARE(table->GetRowCount(0, &count), S_OK);
        QCOMPARE(count, ULONG(0));
        table->Release();
    }

    void missingColumnsComeBackAsErrorValues()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiTestSession::Bytes id;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "No number"}}, &id), S_OK);
        ULONG type = 0;
        IUnknown* opened = nullptr;
        QCOMPARE(session.AddrBook()->OpenEntry(static_cast<ULONG>(id.size()), MapiTestSession::AsEntryId(id), nullptr,
                                               0, &type, &opened),
                 S_OK);
        auto* entry = static_cast<IMAPIProp*>(opened);
        SizedSPropTagArray(2, tags) = {2, {PR_DISPLAY_NAME, PR_PRIMARY_TELEPHONE_NUMBER}};
        ULONG count = 0;
        LPSPropValue values = nullptr;
        QCOMPARE(entry->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values), MAPI_W_ERRORS_RETURNED);
        QCOMPARE(count, ULONG(2));
        QCOMPARE(values[1].ulPropTag, CHANGE_PROP_TYPE(PR_PRIMARY_TELEPHONE_NUMBER, PT_ERROR));
        QCOMPARE(values[1].Value.err, MAPI_E_NOT_FOUND);
        MAPIFreeBuffer(values);
        // Opened without MAPI_MODIFY: the entry is read-only.
        SPropValue name{};
        name.ulPropTag = PR_DISPLAY_NAME;
        name.Value.lpszA = const_cast<char*>("Changed");
        LPSPropProblemArray problems = nullptr;
        QCOMPARE(entry->SetProps(1, &name, &problems), MAPI_E_NO_ACCESS);
        QCOMPARE(entry->SaveChanges(0), MAPI_E_NO_ACCESS);
        entry->Release();
    }

    void computedPropertiesAreRefusedAsProblemsNotFailures()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        IMAPIProp* entry = nullptr;
        QCOMPARE(session.Pab()->CreateEntry(static_cast<ULONG>(session.PabId().size()),
                                            MapiTestSession::AsEntryId(session.PabId()), 0, &entry),
                 S_OK);
        SPropValue values[2] = {};
        values[0].ulPropTag = PR_OBJECT_TYPE;
        values[0].Value.l = MAPI_DISTLIST;
        values[1].ulPropTag = PR_DISPLAY_NAME;
        values[1].Value.lpszA = const_cast<char*>("Kept");
        LPSPropProblemArray problems = nullptr;
        QCOMPARE(entry->SetProps(2, values, &problems), S_OK);
        QVERIFY(problems);
        QCOMPARE(problems->cProblem, ULONG(1));
        QCOMPARE(problems->aProblem[0].ulIndex, ULONG(0));
        QCOMPARE(problems->aProblem[0].scode, MAPI_E_COMPUTED);
        MAPIFreeBuffer(problems);
        QCOMPARE(entry->SaveChanges(0), S_OK);
        entry->Release();
        const auto rows = session.Rows(session.Pab());
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].at(PR_OBJECT_TYPE), std::to_string(MAPI_MAILUSER));
    }

    void duplicateNamesCollideOnlyForTheSameKindInTheSameContainer()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        const auto listTemplate = session.TemplateFor(session.Pab(), "MAPIPDL");
        MapiTestSession::Bytes list;
        MapiTestSession::Bytes other;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier), S_OK);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier), MAPI_E_COLLISION);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "meier"}}), S_OK);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier, nullptr, 0), S_OK);
        QCOMPARE(session.Create(session.Pab(), listTemplate, {{PR_DISPLAY_NAME, "Meier"}}, &list), S_OK);
        QCOMPARE(session.Create(session.Pab(), listTemplate, {{PR_DISPLAY_NAME, "Meier"}}), MAPI_E_COLLISION);
        IABContainer* inList = session.OpenContainer(list);
        QCOMPARE(session.Create(inList, session.PabId(), kMeier), S_OK);
        inList->Release();
        // Renaming an existing entry onto a taken name is an update, never a collision.
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Other"}}, &other), S_OK);
        QCOMPARE(session.Update(other, {{PR_DISPLAY_NAME, "Meier"}}), S_OK);
        // The refused entries left nothing behind.
        QCOMPARE(session.Rows(session.Pab()).size(), size_t(5));
    }

    void deleteEntriesRemovesOnlyTheContainersOwnEntries()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        const auto listTemplate = session.TemplateFor(session.Pab(), "MAPIPDL");
        MapiTestSession::Bytes user;
        MapiTestSession::Bytes list;
        MapiTestSession::Bytes nested;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier, &user), S_OK);
        QCOMPARE(session.Create(session.Pab(), listTemplate, {{PR_DISPLAY_NAME, "L"}}, &list), S_OK);
        IABContainer* inList = session.OpenContainer(list);
        QCOMPARE(session.Create(inList, session.PabId(), {{PR_DISPLAY_NAME, "Inside"}}, &nested), S_OK);

        SBinary one{static_cast<ULONG>(nested.size()), reinterpret_cast<LPBYTE>(nested.data())};
        ENTRYLIST entries{1, &one};
        QCOMPARE(session.Pab()->DeleteEntries(&entries, 0), MAPI_W_PARTIAL_COMPLETION);
        QCOMPARE(session.Rows(inList).size(), size_t(1));

        one = SBinary{static_cast<ULONG>(user.size()), reinterpret_cast<LPBYTE>(user.data())};
        QCOMPARE(session.Pab()->DeleteEntries(&entries, 0), S_OK);
        HRESULT hr = S_OK;
        session.Props(user, &hr);
        QCOMPARE(hr, MAPI_E_NOT_FOUND);

        one = SBinary{static_cast<ULONG>(list.size()), reinterpret_cast<LPBYTE>(list.data())};
        QCOMPARE(session.Pab()->DeleteEntries(&entries, 0), S_OK);
        session.Props(nested, &hr);
        QCOMPARE(hr, MAPI_E_NOT_FOUND);
        QVERIFY(session.Rows(session.Pab()).empty());
        inList->Release();
    }

    void theAddressBookObjectHasNoPropertiesOfItsOwn()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        IAddrBook* book = session.AddrBook();
        // Each output starts out pointing somewhere: the call must clear it.
        ULONG count = 7;
        SPropValue staleValue{};
        LPSPropValue values = &staleValue;
        QCOMPARE(book->GetProps(nullptr, 0, &count, &values), MAPI_E_NO_SUPPORT);
        QCOMPARE(count, ULONG(0));
        QVERIFY(!values);
        SPropTagArray staleTags{};
        LPSPropTagArray tags = &staleTags;
        QCOMPARE(book->GetPropList(0, &tags), MAPI_E_NO_SUPPORT);
        QVERIFY(!tags);
        IUnknown* unknown = session.Pab();
        QCOMPARE(book->OpenProperty(PR_CREATE_TEMPLATES, &IID_IMAPITable, 0, 0, &unknown), MAPI_E_NO_SUPPORT);
        QVERIFY(!unknown);
        SPropValue name{};
        name.ulPropTag = PR_DISPLAY_NAME;
        name.Value.lpszA = const_cast<char*>("Book");
        SPropProblemArray staleProblems{};
        LPSPropProblemArray problems = &staleProblems;
        QCOMPARE(book->SetProps(1, &name, &problems), MAPI_E_NO_SUPPORT);
        QVERIFY(!problems);
        SizedSPropTagArray(1, nameTag) = {1, {PR_DISPLAY_NAME}};
        problems = &staleProblems;
        QCOMPARE(book->DeleteProps(reinterpret_cast<LPSPropTagArray>(&nameTag), &problems), MAPI_E_NO_SUPPORT);
        QVERIFY(!problems);
        QCOMPARE(book->SaveChanges(0), MAPI_E_NO_SUPPORT);
        MAPIERROR staleError{};
        LPMAPIERROR error = &staleError;
        QCOMPARE(book->GetLastError(MAPI_E_NO_SUPPORT, 0, &error), S_OK);
        QVERIFY(!error);
    }

    void mailUserPropertiesAreListedDeletedAndSavedButNotOpenedAsObjects()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiTestSession::Bytes id;
        QCOMPARE(session.Create(session.Pab(), session.PabId(), kMeier, &id), S_OK);
        ULONG type = 0;
        IUnknown* opened = nullptr;
        QCOMPARE(session.AddrBook()->OpenEntry(static_cast<ULONG>(id.size()), MapiTestSession::AsEntryId(id), nullptr,
                                               MAPI_MODIFY, &type, &opened),
                 S_OK);
        QCOMPARE(type, MAPI_MAILUSER);
        auto* user = static_cast<IMAPIProp*>(opened);
        LPSPropTagArray tags = nullptr;
        QCOMPARE(user->GetPropList(0, &tags), S_OK);
        QVERIFY(tags);
        QVERIFY(std::find(tags->aulPropTag, tags->aulPropTag + tags->cValues, PR_COMMENT) !=
                tags->aulPropTag + tags->cValues);
        MAPIFreeBuffer(tags);
        IUnknown* unknown = session.Pab();
        QCOMPARE(user->OpenProperty(PR_COMMENT, &IID_IMAPITable, 0, 0, &unknown), MAPI_E_NO_SUPPORT);
        QVERIFY(!unknown);
        SizedSPropTagArray(1, commentTag) = {1, {PR_COMMENT}};
        LPSPropProblemArray problems = nullptr;
        QCOMPARE(user->DeleteProps(reinterpret_cast<LPSPropTagArray>(&commentTag), &problems), S_OK);
        MAPIFreeBuffer(problems);
        QCOMPARE(user->SaveChanges(0), S_OK);
        MAPIERROR staleError{};
        LPMAPIERROR error = &staleError;
        QCOMPARE(user->GetLastError(S_OK, 0, &error), S_OK);
        QVERIFY(!error);
        user->Release();
        const auto props = session.Props(id);
        QVERIFY(!props.count(PR_COMMENT));
        QCOMPARE(props.at(PR_DISPLAY_NAME), std::string("Meier"));
    }

    void injectedFaultsHitTheNamedCallOnce()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        MapiFaults::Inject(MapiCall::GetContentsTable, MAPI_E_NO_SUPPORT);
        IMAPITable* table = nullptr;
        QCOMPARE(session.Pab()->GetContentsTable(0, &table), MAPI_E_NO_SUPPORT);
        QCOMPARE(session.Pab()->GetContentsTable(0, &table), S_OK);
        table->Release();

        MapiFaults::Inject(MapiCall::SaveChanges, MAPI_E_CALL_FAILED, 1);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "First"}}), S_OK);
        QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "Second"}}), MAPI_E_CALL_FAILED);
        QCOMPARE(session.Rows(session.Pab()).size(), size_t(1));

        IMAPISession* other = nullptr;
        QCOMPARE(MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, &other), S_OK);
        MapiFaults::Inject(MapiCall::Logoff, MAPI_E_CALL_FAILED);
        QCOMPARE(other->Logoff(0, MAPI_LOGOFF_UI, 0), MAPI_E_CALL_FAILED);
        QCOMPARE(other->Logoff(0, MAPI_LOGOFF_UI, 0), S_OK);
        IAddrBook* afterLogoff = nullptr;
        QCOMPARE(other->OpenAddressBook(0, nullptr, 0, &afterLogoff), MAPI_E_END_OF_SESSION);
        QVERIFY(!afterLogoff);
        other->Release();
    }

    void tableCursorReadsInChunksAndBackwards()
    {
        MapiTestSession session(m_file);
        QVERIFY(session.Ok());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(session.Create(session.Pab(), session.PabId(), {{PR_DISPLAY_NAME, "N" + std::to_string(i)}}), S_OK);
        IMAPITable* table = nullptr;
        QCOMPARE(session.Pab()->GetContentsTable(0, &table), S_OK);
        LPSRowSet rows = nullptr;
        QCOMPARE(table->QueryRows(3, 0, &rows), S_OK);
        QCOMPARE(rows->cRows, ULONG(3));
        FreeProws(rows);
        QCOMPARE(table->QueryRows(3, 0, &rows), S_OK);
        QCOMPARE(rows->cRows, ULONG(2));
        FreeProws(rows);
        QCOMPARE(table->QueryRows(-2, 0, &rows), S_OK);
        QCOMPARE(rows->cRows, ULONG(2));
        QCOMPARE(std::string(MapiTestSession::ToMap(rows->aRow[0].lpProps, rows->aRow[0].cValues)[PR_DISPLAY_NAME]),
                 std::string("N3"));
        FreeProws(rows);
        SSortOrderSet sort{1, 0, 0, {{PR_DISPLAY_NAME, TABLE_SORT_DESCEND}}};
        LPSRowSet all = nullptr;
        QCOMPARE(HrQueryAllRows(table, nullptr, nullptr, &sort, 0, &all), S_OK);
        QCOMPARE(all->cRows, ULONG(5));
        QCOMPARE(MapiTestSession::ToMap(all->aRow[0].lpProps, all->aRow[0].cValues)[PR_DISPLAY_NAME], std::string("N4"));
        FreeProws(all);
        QCOMPARE(HrQueryAllRows(table, nullptr, nullptr, nullptr, 4, &all), MAPI_E_TABLE_TOO_BIG);
        QVERIFY(!all);
        table->Release();
    }
};

QTEST_GUILESS_MAIN(TestMapiEntries)
#include "TestMapiEntries.moc"
