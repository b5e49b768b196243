#pragma once
// A temporary data folder for the vocabulary tests, with the word files they write into it.

#include "core/data_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace quorvella {

using Lines = std::vector<std::string>;

// The lines joined, each ended by lineBreak.
inline std::string joined(const Lines& lines, const char* lineBreak = "\r\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineBreak;
    }
    return text;
}

class WordFolder {
public:
    // Writes bytes to the file at relative, making its folders.
    void write(const QString& relative, const std::string& bytes) const {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes.data(), qint64(bytes.size()));
        }
    }
    void write(const QString& relative, const Lines& lines) const {
        write(relative, joined(lines));
    }
    void remove(const QString& relative) const { QFile::remove(m_dir.filePath(relative)); }

    DataFolder folder() const { return DataFolder(m_dir.path()); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace quorvella
