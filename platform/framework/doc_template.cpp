#include "platform/framework/doc_template.h"

#include "platform/framework/afxres.h"
#include "platform/framework/document.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                           const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    const std::string& s = m_strDocStrings.str();
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = s.find('\n', start);
        if (start == std::string::npos) {
            rString.Empty();
            return FALSE;
        }
        ++start;
    }
    const std::size_t end = s.find('\n', start);
    rString = CString(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    return TRUE;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    auto* pDocument = dynamic_cast<CDocument*>(pObject);
    if (!pDocument) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    // On failure the frame has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = nullptr;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass,
                                       const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments();
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::CloseAllDocuments() {
    if (m_pOnlyDoc)
        m_pOnlyDoc->OnCloseDocument();
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString strDocName;
    if (!GetDocString(strDocName, docName) || strDocName.IsEmpty())
        strDocName.LoadString(AFX_IDS_UNTITLED);
    pDocument->SetTitle(strDocName);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = nullptr;
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    CWinApp* pApp = AfxGetApp();

    if (m_pOnlyDoc) {
        // There is a document already: it, its frame and its view are used again.
        pDocument = m_pOnlyDoc;
        if (!pDocument->SaveModified())
            return nullptr;
        CView* pView = pDocument->GetFirstView();
        pFrame = pView ? pView->GetParentFrame() : nullptr;
    } else {
        pDocument = CreateNewDocument();
        bCreated = TRUE;
    }
    if (!pDocument) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    if (!pFrame) {
        const BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (!pFrame) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
            if (bCreated)
                delete pDocument;
            return nullptr;
        }
    }

    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            if (bCreated) {
                pFrame->DestroyWindow();
                delete pDocument;
            }
            return nullptr;
        }
    } else {
        const BOOL bWasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            // Reported already; the document, its title and its view stay as they were.
            if (bCreated) {
                pFrame->DestroyWindow();
                delete pDocument;
            } else {
                pDocument->SetModifiedFlag(bWasModified);
            }
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }

    if (bCreated && pApp && !pApp->m_pMainWnd)
        pApp->m_pMainWnd = pFrame;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
