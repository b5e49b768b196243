#pragma once
// Reads data files: a whole file as bytes or as a list of lines, or line by line as a stream.
// A file that cannot be opened or read throws AppError; what the lines mean is the caller's.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// The whole file, byte for byte.
std::string readFileBytes(const QString& path);

// Splits text into lines at CR LF, at a lone CR and at a lone LF; a 0 byte ends the text and
// a break at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

// The whole file as lines, split as splitLines does.
std::vector<std::string> readFileLines(const QString& path);

// Streams a file line by line: a line ends at LF or CR LF, a CR not followed by LF is dropped,
// and a Ctrl-Z byte (0x1A) ends the file. Only a small buffer is held in memory.
class LineReader {
public:
    explicit LineReader(const QString& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True at the end of the file or at a Ctrl-Z.
    bool atEnd();

    // Reads the next line into line; at the end, line is empty and the result false.
    bool readLine(std::string& line);

private:
    bool fill();

    QString m_path;
    int m_fd = -1;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_size = 0;
    bool m_ended = false;
};

} // namespace quorvella
