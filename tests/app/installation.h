#pragma once
// A whole installation of the sample course in a temporary folder, for tests that spoil its files
// one by one and run the program's windows over it.

#include "core/data_folder.h"
#include "tools/sample_course.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvella {

// Every file under folder, with its path relative to it. Throws when the folder holds none: the
// course is written by the build, and a test over an empty course would prove nothing.
inline std::vector<InstallationFile> readInstallation(const QString& folder) {
    std::vector<InstallationFile> files;
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString full = it.next();
        QFile file(full);
        if (!file.open(QIODevice::ReadOnly)) {
            throw std::runtime_error("cannot read " + full.toStdString());
        }
        const QByteArray bytes = file.readAll();
        files.push_back({root.relativeFilePath(full), bytes.toStdString()});
    }
    if (files.empty()) {
        throw std::runtime_error("no course in " + folder.toStdString() +
                                 ": build the target sample_course");
    }
    return files;
}

// The sample course's files, read once per test program from the course the build wrote
// (QUORVELLA_SAMPLE_COURSE names its folder); made from the repository's sources where the build
// writes none.
inline const std::vector<InstallationFile>& sampleCourse() {
    static const std::vector<InstallationFile> files = [] {
#ifdef QUORVELLA_SAMPLE_COURSE
        return readInstallation(QStringLiteral(QUORVELLA_SAMPLE_COURSE));
#else
        return makeSampleCourse(defaultSampleSource());
#endif
    }();
    return files;
}

class Installation {
public:
    Installation() {
        writeInstallation(sampleCourse(), m_dir.path());
        for (const InstallationFile& file : sampleCourse()) {
            m_original[file.path] = file.bytes;
        }
    }
    ~Installation() {
        // A file or folder made unreadable is made readable again, so that the folder goes.
        for (const QString& path : m_lockedAway) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    DataFolder folder() const { return DataFolder(m_dir.path()); }
    // The full path of a file given relative to the folder ("dat/tk.txt").
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // The bytes the sample course has for the file.
    const std::string& original(const QString& relative) const { return m_original.at(relative); }

    // Replaces whatever stands at relative (a file or a folder) by a file of these bytes.
    void write(const QString& relative, const std::string& bytes) const {
        clear(relative);
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes.data(), qint64(bytes.size()));
        }
    }
    void restore(const QString& relative) { write(relative, original(relative)); }
    void remove(const QString& relative) const { clear(relative); }
    // An empty folder where the file was.
    void makeFolder(const QString& relative) const {
        clear(relative);
        QDir().mkpath(path(relative));
    }
    // The file stays but nobody but root may read it.
    void lockAway(const QString& relative) {
        QFile::setPermissions(path(relative), QFile::WriteOwner);
        m_lockedAway.push_back(path(relative));
    }

private:
    void clear(const QString& relative) const {
        const QString full = path(relative);
        QFile::setPermissions(full, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (QFileInfo(full).isDir()) {
            QDir(full).removeRecursively();
        } else {
            QFile::remove(full);
        }
    }

    QTemporaryDir m_dir;
    std::map<QString, std::string> m_original;
    std::vector<QString> m_lockedAway;
};

} // namespace quorvella
