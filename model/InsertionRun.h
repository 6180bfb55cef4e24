#pragma once
// An insertion run of one or more entries: while it lasts, a taken index is asked about, and only a run of
// several entries offers "Accept All". The run ends with its scope, however the loop that inserts was left.
#include "model/EntryStore.h"

class InsertionRun {
public:
    InsertionRun(EntryStore& store, int entries) : m_store(store)
    {
        m_store.SetFlag(VF_BATCH);
        if (entries != 1) m_store.SetFlag(VF_BATCH_MULTI);
        else m_store.ClearFlag(VF_BATCH_MULTI);
    }
    ~InsertionRun() { m_store.ClearFlag(VF_BATCH); }
    InsertionRun(const InsertionRun&) = delete;
    InsertionRun& operator=(const InsertionRun&) = delete;

private:
    EntryStore& m_store;
};
