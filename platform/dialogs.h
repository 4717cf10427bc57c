#pragma once
// The dialog service: the message box and the platform's standard dialogs, behind one interface
// with two implementations. The Qt one shows real dialogs; the scripted one answers from a queue
// and records what was asked, for tests and for scripted runs. Nothing else differs between them.

#include "platform/log_font.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace platform {

enum class MessageBoxIcon { None, Error, Warning, Information };

struct MessageBoxRequest {
    std::string title;  // GBK
    std::string text;   // GBK
    MessageBoxIcon icon = MessageBoxIcon::None;
};

enum class FileDialogMode { Open, Save };

// Flags of a file dialog request.
namespace FileDialogFlag {
inline constexpr std::uint32_t HideReadOnly = 0x1;
inline constexpr std::uint32_t CreatePrompt = 0x2;
inline constexpr std::uint32_t FileMustExist = 0x4;
inline constexpr std::uint32_t OverwritePrompt = 0x8;
inline constexpr std::uint32_t PathMustExist = 0x10;
inline constexpr std::uint32_t NoChangeDirectory = 0x20;
}  // namespace FileDialogFlag

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title;              // GBK; empty: the platform's caption
    std::string filter;             // GBK, "description|pattern|...||"; empty: no filter
    int initial_filter_index = 0;   // 1-based; 0 when there is no filter
    std::string initial_directory;  // GBK; empty: the platform's choice
    std::string initial_file_name;  // GBK
    std::string default_extension;  // GBK
    std::uint32_t flags = 0;
    WindowHandle owner = 0;
};

struct FileDialogAnswer {
    bool confirmed = false;
    std::string path;  // GBK, full path
};

struct FontDialogRequest {
    LogFont font;  // face empty: none; height 0: no initial size
    std::uint32_t colour = 0;
    WindowHandle owner = 0;
};

struct FontDialogAnswer {
    bool confirmed = false;
    LogFont font;
    std::uint32_t colour = 0;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Modal; returns when the user has closed the box.
    virtual void show_message_box(const MessageBoxRequest& request) = 0;
    virtual FileDialogAnswer ask_file(const FileDialogRequest& request) = 0;
    virtual FontDialogAnswer ask_font(const FontDialogRequest& request) = 0;
};

// The service in use; the Qt one unless another was installed.
DialogService& dialog_service();
// Installs `service` (not owned); null restores the Qt service.
void set_dialog_service(DialogService* service);

// Answers from queues, in order; an empty queue cancels. Records every request.
class ScriptedDialogService final : public DialogService {
public:
    void show_message_box(const MessageBoxRequest& request) override;
    FileDialogAnswer ask_file(const FileDialogRequest& request) override;
    FontDialogAnswer ask_font(const FontDialogRequest& request) override;

    void queue_file_answer(FileDialogAnswer answer) { m_file_answers.push_back(std::move(answer)); }
    void queue_font_answer(FontDialogAnswer answer) { m_font_answers.push_back(answer); }

    const std::vector<MessageBoxRequest>& message_boxes() const { return m_message_boxes; }
    const std::vector<FileDialogRequest>& file_requests() const { return m_file_requests; }
    const std::vector<FontDialogRequest>& font_requests() const { return m_font_requests; }

private:
    std::deque<FileDialogAnswer> m_file_answers;
    std::deque<FontDialogAnswer> m_font_answers;
    std::vector<MessageBoxRequest> m_message_boxes;
    std::vector<FileDialogRequest> m_file_requests;
    std::vector<FontDialogRequest> m_font_requests;
};

}  // namespace platform
