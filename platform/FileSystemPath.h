#pragma once

#include <QFile>
#include <QString>

#include <filesystem>

// Conversions between the client's Unicode paths and std::filesystem paths that lose nothing:
// UTF-16 on Windows, the toolkit's file-name encoding elsewhere (the same one QFile and QDir
// use), so a name that exists for one of them exists for the other.
namespace Platform {

inline std::filesystem::path toFileSystemPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

inline QString fromFileSystemPath(const std::filesystem::path &path)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

} // namespace Platform
