#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>
#include <string_view>

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

#ifndef Q_OS_WIN
// The bytes of the last component of a listed entry's path (which a listing never ends with a
// separator), found without splitting the path into its components.
inline std::string_view fileNameBytes(const std::filesystem::path &entry)
{
    const std::string &bytes = entry.native();
    return std::string_view(bytes).substr(bytes.rfind('/') + 1); // all of it without a '/'
}
#endif

// The name of a listed entry as the client's Unicode text. A search takes the name of every file
// it lists, so elsewhere than on Windows this is read off the path's bytes.
inline QString fileNameOf(const std::filesystem::path &entry)
{
#ifdef Q_OS_WIN
    return fromFileSystemPath(entry.filename());
#else
    const std::string_view name = fileNameBytes(entry);
    return QFile::decodeName(QByteArray(name.data(), int(name.size())));
#endif
}

// Whether `name`, made by fileNameOf, gives back the listed entry's name exactly: not so where the
// name on disk is not valid in the file name encoding (invalid UTF-8, for example).
inline bool isExactFileName(const QString &name, const std::filesystem::path &entry)
{
#ifdef Q_OS_WIN
    return toFileSystemPath(name) == entry.filename();
#else
    const QByteArray encoded = QFile::encodeName(name);
    return fileNameBytes(entry) == std::string_view(encoded.constData(), encoded.size());
#endif
}

// Whether the toolkit's own listings would leave this file out as hidden. Windows and macOS keep
// that in the file system, so it takes a query there; elsewhere a name beginning with a dot is
// hidden, which is all the toolkit looks at.
inline bool isHiddenFile(const std::filesystem::path &path)
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return QFileInfo(fromFileSystemPath(path)).isHidden();
#else
    const std::string_view name = fileNameBytes(path);
    return !name.empty() && name.front() == '.';
#endif
}

} // namespace Platform
