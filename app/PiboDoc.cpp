#include "app/PiboDoc.h"

IMPLEMENT_DYNCREATE(CPiboDoc, CDocument)

BEGIN_MESSAGE_MAP(CPiboDoc, CDocument)
END_MESSAGE_MAP()

BOOL CPiboDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    return TRUE;
}

void CPiboDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        // nothing to store
    } else {
        // nothing to load
    }
}
