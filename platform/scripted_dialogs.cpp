// The scripted dialog service, the same on every backend: answers from queues and records what
// was asked.

#include "platform/dialogs.h"

#include <utility>

namespace platform {

void ScriptedDialogService::show_message_box(const MessageBoxRequest& request)
{
    m_message_boxes.push_back(request);
}

FileDialogAnswer ScriptedDialogService::ask_file(const FileDialogRequest& request)
{
    m_file_requests.push_back(request);
    if (m_file_answers.empty())
        return {};
    FileDialogAnswer answer = std::move(m_file_answers.front());
    m_file_answers.pop_front();
    return answer;
}

FontDialogAnswer ScriptedDialogService::ask_font(const FontDialogRequest& request)
{
    m_font_requests.push_back(request);
    if (m_font_answers.empty())
        return {};
    FontDialogAnswer answer = m_font_answers.front();
    m_font_answers.pop_front();
    return answer;
}

}  // namespace platform
