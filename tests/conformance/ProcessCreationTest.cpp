// How CreateProcessA finds the program to start from its application name and the first token
// of its command line, and what command line the started program sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ChildProgram.h"

namespace {

class ProcessCreation : public ::testing::Test {
protected:
    void SetUp() override {
        m_scratch = conformance::ScratchFolder();
        m_folder = m_scratch + "\\corvane conf";
        m_child = m_folder + "\\child.exe";
        m_engine = m_folder + "\\ishield.app";
        m_planted = m_scratch + "\\corvane.exe";  // what "<scratch>\corvane conf\..." starts with
        conformance::MakeFolder(m_folder);
        for (const std::string* p : {&m_child, &m_engine, &m_planted}) conformance::InstallChildProgram(*p);
    }
    void TearDown() override {
        for (const std::string* p : {&m_child, &m_engine, &m_planted}) conformance::RemoveChildProgram(*p);
    }
    // Starts and waits; returns which child ran ("" when none) and what it received.
    std::string Start(const char* app, const std::string& cmd, std::string* received) {
        std::string buffer = cmd;
        STARTUPINFOA si;
        ZeroMemory(&si, sizeof si);
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        ZeroMemory(&pi, sizeof pi);
        if (!CreateProcessA(app, &buffer[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return "(failed)";
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        for (const std::string* p : {&m_child, &m_engine, &m_planted}) {
            if (conformance::ChildRecord(*p, received)) return *p;
        }
        return "";
    }
    std::string m_scratch, m_folder, m_child, m_engine, m_planted;
};

TEST_F(ProcessCreation, FirstTokenAndApplicationName) {
    struct Row {
        const char* why;
        bool withAppName;      // the child's path as the application name
        std::string cmd;
        std::string ran;       // which program ran
    } rows[] = {
        {"quoted path: the whole path is the program", false, "\"" + m_child + "\" a b", m_child},
        {"unquoted path with a blank: the shortest existing prefix runs", false, m_child + " a", m_planted},
        {"application name decides, quoted command line", true, "\"" + m_child + "\" x", m_child},
        {"application name decides, unquoted command line", true, m_child + " x", m_child},
        {"an extension other than .exe is taken as it stands", false, "\"" + m_engine + "\" -s", m_engine},
    };
    for (const Row& row : rows) {
        for (const std::string* p : {&m_child, &m_engine, &m_planted}) conformance::InstallChildProgram(*p);
        std::string received;
        std::string ran = Start(row.withAppName ? m_child.c_str() : nullptr, row.cmd, &received);
        EXPECT_EQ(row.ran, ran) << row.why;
        EXPECT_EQ(row.cmd, received) << row.why << ": the command line reaches the program unchanged";
    }
}

TEST_F(ProcessCreation, MissingProgramFails) {
    std::string received;
    EXPECT_EQ("(failed)", Start(nullptr, "\"" + m_folder + "\\absent.exe\"", &received));
    EXPECT_EQ("(failed)", Start((m_folder + "\\absent.app").c_str(), "x", &received));
}

}  // namespace
