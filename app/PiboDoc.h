// The document: it exists because the framework's document and view structure needs one. It holds
// nothing, reads nothing from a file and writes nothing to one.
#pragma once

#include "platform/framework/afxwin.h"

class CPiboDoc : public CDocument {
protected:
    CPiboDoc() = default;
    DECLARE_DYNCREATE(CPiboDoc)

public:
    ~CPiboDoc() override = default;
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;

protected:
    DECLARE_MESSAGE_MAP()
};
