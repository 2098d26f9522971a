// A fuzz input read as a command line: arguments separated by NUL bytes, each UTF-8.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace mandalix::fuzz {

inline QStringList argumentsOf(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromUtf8(argument);
    return arguments;
}

} // namespace mandalix::fuzz
