#include "platform/framework/afx_string.h"

#include "platform/framework/win_app.h"
#include "platform/win/resource_module.h"

BOOL CString::LoadString(UINT nID) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    if (hInstance) {
        for (std::size_t i = 0; i < hInstance->stringCount; ++i) {
            if (hInstance->strings[i].id == nID) {
                m_str = hInstance->strings[i].text;
                return TRUE;
            }
        }
    }
    m_str.clear();
    return FALSE;
}
