#pragma once
// The PAB (the root container) or a personal distribution list inside it: holds mail users and further
// lists, offers a contents table, creation templates, and creates and deletes entries.
#include "mapi/IDistList.h"
#include "mapi/IMAPITransaction.h"
#include "mapi/PropertyForwarder.h"

class PabContainer : public PropertyForwarder<IDistList> {
public:
    // Creation templates offered by every container, by template number.
    enum TemplateNumber : int64_t {
        DistributionListTemplate = 1, // address type "MAPIPDL"
        MailUserTemplate = 2,         // address type "SMTP"
    };

    explicit PabContainer(PropertyObject properties) : PropertyForwarder(std::move(properties)) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags, LPUNKNOWN* lppUnk) override;

    HRESULT GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT GetHierarchyTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    HRESULT OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                      LPUNKNOWN* lppUnk) override;

    HRESULT CreateEntry(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulCreateFlags, LPMAPIPROP* lppMAPIPropEntry) override;
    HRESULT DeleteEntries(LPENTRYLIST lpEntries, ULONG ulFlags) override;

    // A transaction over the address book this container belongs to (see HrOpenTransaction).
    HRESULT OpenTransaction(LPMAPITRANSACTION* lppTransaction);

private:
    HRESULT NewContentsTable(LPMAPITABLE* lppTable);
    static HRESULT NewTemplatesTable(LPMAPITABLE* lppTable);
    HRESULT TypeCreatedBy(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG& type);
};
