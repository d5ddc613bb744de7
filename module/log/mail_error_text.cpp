#include "module/log/mail_error_text.h"

std::string MailErrorUserText(const std::string& libraryError) {
  std::string text = "При попытке отправить уведомление по e-mail, произошла ошибка:\n\n";
  text += libraryError;
  if (text.find("AUTH") != std::string::npos && text.find("LOGIN") != std::string::npos)
    return text + "\n\nНеверные параметры авторизации на сервере";
  if (text.find("Not connected") != std::string::npos) return std::string();
  return text + "\n\nОбратитесь к системному администратору, сообщив ему код ошибки.";
}
