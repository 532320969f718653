// The archive a document serialises through: it says whether the document is being stored or
// loaded. This program's document reads and writes nothing through it.
#pragma once

#include "platform/win/types.h"

class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    explicit CArchive(Mode nMode) : m_nMode(nMode) {}

    BOOL IsLoading() const { return m_nMode == load ? TRUE : FALSE; }
    BOOL IsStoring() const { return m_nMode == store ? TRUE : FALSE; }

private:
    Mode m_nMode;
};
