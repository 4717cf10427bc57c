#pragma once
// Inside the platform only: the message queue's Qt side, made and ended with the application.

namespace platform {

void start_message_queue();
void stop_message_queue();

}  // namespace platform
