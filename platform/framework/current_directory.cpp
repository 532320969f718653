#include <cerrno>
#include <string>
#include <unistd.h>

#include "platform/framework/win_app.h"

CString AfxGetCurrentDirectory() {
    // No length limit: a buffer that is too small is made larger.
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return CString(buffer.c_str());
        if (errno != ERANGE)
            return CString(".");
        buffer.resize(buffer.size() * 2);
    }
}
