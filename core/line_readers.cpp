#include "core/line_readers.h"

#include "core/app_error.h"
#include "core/byte_text.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvella {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kCtrlZ = 0x1A;

int openForReading(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throwCannotOpenFile(path, errno);
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        throwCannotOpenFile(path, EISDIR);
    }
    return fd;
}

[[noreturn]] void throwReadError(const QString& path, int errorNumber) {
    throw AppError(QStringLiteral("Cannot read file \"%1\". %2")
                       .arg(path, QString::fromLocal8Bit(std::strerror(errorNumber))));
}

// read(2) retried on EINTR; throws on a read error.
std::size_t readSome(int fd, char* into, std::size_t size, const QString& path) {
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0) {
            return std::size_t(got);
        }
        if (errno != EINTR) {
            throwReadError(path, errno);
        }
    }
}

class FileHandle {
public:
    explicit FileHandle(const QString& path) : m_fd(openForReading(path)) {}
    ~FileHandle() { ::close(m_fd); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string readFileBytes(const QString& path) {
    FileHandle file(path);
    std::string bytes;
    for (;;) {
        const std::size_t old = bytes.size();
        bytes.resize(old + kBufferSize);
        const std::size_t got = readSome(file.fd(), bytes.data() + old, kBufferSize, path);
        bytes.resize(old + got);
        if (got == 0) {
            return bytes;
        }
    }
}

std::vector<std::string> splitLines(std::string_view text) {
    text = upToFirstZero(text);
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        while (i < text.size() && text[i] != '\r' && text[i] != '\n') {
            ++i;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (i < text.size() && text[i] == '\r') {
            ++i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++i;
        }
    }
    return lines;
}

std::vector<std::string> readFileLines(const QString& path) {
    return splitLines(readFileBytes(path));
}

LineReader::LineReader(const QString& path)
    : m_path(path), m_fd(openForReading(path)), m_buffer(kBufferSize) {}

LineReader::~LineReader() {
    ::close(m_fd);
}

bool LineReader::fill() {
    if (m_pos < m_size) {
        return true;
    }
    if (m_ended) {
        return false;
    }
    m_pos = 0;
    m_size = readSome(m_fd, m_buffer.data(), m_buffer.size(), m_path);
    m_ended = m_size == 0;
    return !m_ended;
}

bool LineReader::atEnd() {
    return !fill() || m_buffer[m_pos] == kCtrlZ;
}

bool LineReader::readLine(std::string& line) {
    line.clear();
    if (atEnd()) {
        return false;
    }
    while (fill()) {
        const char c = m_buffer[m_pos];
        if (c == kCtrlZ) {
            return true; // left in place: the file ends here
        }
        ++m_pos;
        if (c == '\n') {
            return true;
        }
        if (c != '\r') { // CR LF ends the line at its LF; any other CR is dropped
            line += c;
        }
    }
    return true;
}

} // namespace quorvella
