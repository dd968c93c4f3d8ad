#pragma once
// The one error type of the program: codecs and kernels throw it with a French
// message meant for the user; the command boundary shows it in a message box.
#include <QString>
#include <exception>

namespace vermeo {

class VermeoError : public std::exception {
public:
    explicit VermeoError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace vermeo
