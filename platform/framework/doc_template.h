// Document templates: how the framework makes a document with its frame and view from their
// run-time classes. The single-document template keeps one document, one frame and one view
// for the whole run and re-initialises them for each new or opened document.
#pragma once

#include "platform/framework/afx_string.h"
#include "platform/framework/cmd_target.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The newline-separated fields of the document string (resource nIDResource).
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // Makes a new document (null path) or opens one; nullptr when that failed (and was reported).
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual void CloseAllDocuments() = 0;

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    void CloseAllDocuments() override;

    CDocument* GetOnlyDocument() const { return m_pOnlyDoc; }

protected:
    CDocument* m_pOnlyDoc = nullptr;
};
