// The standard command line: which shell command each combination of arguments gives, with the
// rule that a "/" argument is a switch only when its name is one the table knows.
#include <gtest/gtest.h>

#include "platform/framework/command_line.h"

namespace {

struct Case {
    std::vector<CString> args;
    int command;
    const char* file;
    bool embedded = false;
    bool automated = false;
    const char* printer = "";
    const char* driver = "";
    const char* port = "";
};

TEST(CommandLine, Table) {
    using C = CCommandLineInfo;
    const std::vector<Case> cases = {
        {{}, C::FileNew, ""},
        {{"notes.txt"}, C::FileOpen, "notes.txt"},
        {{"/home/ann/notes.txt"}, C::FileOpen, "/home/ann/notes.txt"},
        {{"a.txt", "b.txt"}, C::FileOpen, "a.txt"},
        {{"/p", "a.txt"}, C::FilePrint, "a.txt"},
        {{"-p", "a.txt"}, C::FilePrint, "a.txt"},
        {{"/P"}, C::FileOpen, "/P"}, // "p" only in this case; otherwise the root's file "P"
        {{"-P", "a.txt"}, C::FileOpen, "a.txt"}, // an unknown switch is ignored
        {{"/pt", "a.txt", "printer", "driver", "port"},
         C::FilePrintTo,
         "a.txt",
         false,
         false,
         "printer",
         "driver",
         "port"},
        {{"/pt", "a.txt", "printer", "driver", "port", "more"},
         C::FilePrintTo,
         "a.txt",
         false,
         false,
         "printer",
         "driver",
         "port"},
        {{"/dde"}, C::FileDDE, ""},
        {{"/DDE"}, C::FileOpen, "/DDE"},
        {{"/dde", "a.txt"}, C::FileDDE, "a.txt"},
        {{"/Unregister"}, C::AppUnregister, ""},
        {{"/unREGISTER"}, C::AppUnregister, ""},
        {{"-unregserver"}, C::AppUnregister, ""},
        {{"/Unregserver"}, C::AppUnregister, ""},
        {{"/Unregister", "/Embedding"}, C::AppUnregister, "", true},
        {{"/embedding"}, C::FileNew, "", true},
        {{"/AUTOMATION", "a.txt"}, C::FileOpen, "a.txt", false, true},
        {{"/tmp"}, C::FileOpen, "/tmp"},
        {{"-x", "/y"}, C::FileOpen, "/y"},
        {{"-"}, C::FileNew, ""},
        {{"a.txt", "/p"}, C::FilePrint, "a.txt"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const CString& a : c.args)
            joined += std::string(a) + " ";
        SCOPED_TRACE(joined);
        CCommandLineInfo info;
        ParseCommandLineArguments(info, c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_strFileName.str(), c.file);
        EXPECT_EQ(info.m_bRunEmbedded, c.embedded ? TRUE : FALSE);
        EXPECT_EQ(info.m_bRunAutomated, c.automated ? TRUE : FALSE);
        EXPECT_EQ(info.m_bShowSplash, (c.embedded || c.automated) ? FALSE : TRUE);
        EXPECT_EQ(info.m_strPrinterName.str(), c.printer);
        EXPECT_EQ(info.m_strDriverName.str(), c.driver);
        EXPECT_EQ(info.m_strPortName.str(), c.port);
    }
}

} // namespace
