#include "tests/support/menu_script.h"

#include "platform/handles.h"
#include "tests/support/run_program.h"

namespace e2e {

std::vector<std::string> StoredScriptBody(const std::string& libraryPath) {
    std::vector<std::string> body;
    UniqueModule module(LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return body;
    HRSRC res = FindResourceA(module.get(), "SETSTRING", RT_HTML);
    if (!res) return body;
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module.get(), res))),
                           SizeofResource(module.get(), res));
    if (text.size() != 242) return body;
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return body;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    if (lines.size() != 6 || lines.front() != "<SCRIPT LANGUAGE=\"VBScript\">" ||
        lines.back() != "</SCRIPT>")
        return body;
    return std::vector<std::string>(lines.begin() + 1, lines.end() - 1);
}

std::string ScriptFile(const std::string& selectionExpression, const std::string& libraryPath) {
    std::string vbs =
        "Class RangeStub\r\n Public text\r\nEnd Class\r\n"
        "Class SelectionStub\r\n Public range\r\n"
        " Public Function createRange()\r\n  Set createRange = range\r\n End Function\r\n"
        "End Class\r\n"
        "Class DocumentStub\r\n Public selection\r\nEnd Class\r\n"
        "Class WindowStub\r\n Public document\r\nEnd Class\r\n"
        "Class ExternalStub\r\n Public menuArguments\r\nEnd Class\r\n"
        "Dim external\r\nSet external = New ExternalStub\r\n"
        "Set external.menuArguments = New WindowStub\r\n"
        "Set external.menuArguments.document = New DocumentStub\r\n"
        "Set external.menuArguments.document.selection = New SelectionStub\r\n"
        "Set external.menuArguments.document.selection.range = New RangeStub\r\n"
        "external.menuArguments.document.selection.range.text = " +
        selectionExpression + "\r\n";
    for (const std::string& line : StoredScriptBody(libraryPath))
        vbs += line + "\r\n";
    return vbs;
}

DWORD RunMenuScript(const ProgramDir& dir, const std::string& selectionExpression,
                    const std::function<void(DWORD)>& whileRunning,
                    const std::string& libraryPath) {
    if (!dir.WriteBytes("menu.vbs", ScriptFile(selectionExpression, libraryPath)))
        return 0xFFFFFFFD;
    return RunProgram("cscript.exe //nologo //B \"" + dir.File("menu.vbs") + "\"", nullptr,
                      whileRunning);
}

} // namespace e2e
