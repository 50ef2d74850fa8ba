#include "ScriptedDesktop.h"

#include <utility>

namespace docrecover::testing {

ScriptedDesktop::ScriptedDesktop(std::shared_ptr<MemoryDisk> disk, std::wstring programFolder)
    : disk_(std::move(disk)), programFolder_(std::move(programFolder)) {}

std::wstring BoxEvent(const std::wstring& title, int32_t style, const std::wstring& text) {
  return L"box " + title + L" " + std::to_wstring(style) + L": " + text;
}

int32_t ScriptedDesktop::ShowMessageBox(const std::wstring& text, int32_t style,
                                        const std::wstring& title) {
  events.push_back(BoxEvent(title, style, text));
  std::deque<int32_t>& queue = answers[title];
  if (queue.empty()) {
    return 1;
  }
  const int32_t answer = queue.front();
  queue.pop_front();
  return answer;
}

void ScriptedDesktop::EndProgram() {
  events.push_back(L"end");
  throw ProgramEnded{};
}

void ScriptedDesktop::ShowMessage2(const std::wstring& text) {
  events.push_back(L"pane2: " + text);
  if (clickAtShow2.count(++show2Calls) != 0 && onCancel_) {
    onCancel_();
  }
}

}  // namespace docrecover::testing
