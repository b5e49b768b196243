#pragma once
// What the fuzz targets share: a scratch folder that stands in for the data folder, holding the
// files written from each input, and the cutting of an input into its parts. What is done with
// the files is each target's own.

#include "core/data_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace quorvella::fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The parts of an input separated by a line "--8<--" (the separator's own line breaks are LF).
// A target that reads several files takes them in order; missing parts are empty.
inline std::vector<std::string_view> parts(std::string_view input, std::size_t count) {
    constexpr std::string_view kSeparator = "\n--8<--\n";
    std::vector<std::string_view> result;
    while (result.size() + 1 < count) {
        const std::size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) {
            break;
        }
        result.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    result.push_back(input);
    result.resize(count);
    return result;
}

// The input's first line (up to LF, which is dropped) and the rest: a target's settings, then a
// file's bytes.
struct FirstLine {
    std::string_view line;
    std::string_view rest;
};

inline FirstLine firstLine(std::string_view input) {
    const std::size_t at = input.find('\n');
    if (at == std::string_view::npos) {
        return {input, {}};
    }
    return {input.substr(0, at), input.substr(at + 1)};
}

// A data folder of its own for the whole run, removed at the end of the process. Files are
// written over at each input, so the paths stay the same.
class ScratchFolder {
public:
    ScratchFolder() {
        if (!m_dir.isValid()) {
            std::abort();
        }
    }

    DataFolder folder() const { return DataFolder(m_dir.path()); }

    // Writes bytes to the file at relative (folders made as needed).
    void write(const QString& relative, std::string_view bytes) const {
        const QString path = folder().path(relative);
        QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
            std::abort();
        }
    }

    void remove(const QString& relative) const { QFile::remove(folder().path(relative)); }

private:
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/quorvella-fuzz-XXXXXX")};
};

// Stops the run on a broken promise of the code under test, as a crash that libFuzzer keeps.
inline void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace quorvella::fuzz
