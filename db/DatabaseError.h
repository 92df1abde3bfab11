#pragma once

#include <QString>
#include <stdexcept>

/**
 * The one error type of the database layer: a failing statement, a refused
 * connection or a private server that would not start. what() carries the
 * database's own text (UTF-8), text() the same as a QString.
 */
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text) {}

    const QString &text() const { return m_text; }

private:
    QString m_text;
};
