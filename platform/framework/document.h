// The document: its title and path, its views, and the standard document commands (New, Open,
// Save, Save As) as the framework carries them out.
#pragma once

#include <vector>

#include "platform/framework/afx_string.h"
#include "platform/framework/archive.h"
#include "platform/framework/cmd_target.h"

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Takes the file's full path; the title becomes the file's name without its folder.
    virtual void SetPathName(LPCSTR lpszPathName);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    // Brings the titles of the frames showing the document up to date.
    void UpdateFrameCounts();

    virtual BOOL OnNewDocument();
    // Opens the file for reading and serialises from it; reports a file that cannot be opened.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // Serialises into the file. A file that exists is left exactly as it is (this framework's
    // documents are saved into new files only); reports a file that cannot be made.
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    virtual BOOL SaveModified();
    // Saves under lpszPathName, or after asking for a name when it is null.
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bModified = FALSE;
    BOOL m_bAutoDelete = TRUE;

    ~CDocument() override;

protected:
    CDocument() = default;

    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();

    std::vector<CView*> m_viewList;

    DECLARE_MESSAGE_MAP()
};
