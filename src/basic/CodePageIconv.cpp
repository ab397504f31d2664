// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/CodePage.h"

#include <cerrno>
#include <iconv.h>

using namespace Qt::StringLiterals;

namespace basic::codepage {

namespace {

class Iconv
{
public:
    Iconv(const QString &to, const QString &from)
        : m_cd(iconv_open(to.toLatin1().constData(), from.toLatin1().constData()))
    {
    }
    ~Iconv()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool ok() const { return m_cd != iconv_t(-1); }

    // The whole input converted; the offset of the first byte it could not
    // convert otherwise.
    std::optional<QByteArray> convert(QByteArrayView input, qsizetype *failedAt) const
    {
        if (!ok())
            return std::nullopt;
        QByteArray output;
        output.resize(input.size() * 4 + 16);
        char *in = const_cast<char *>(input.data());
        size_t inLeft = size_t(input.size());
        char *out = output.data();
        size_t outLeft = size_t(output.size());
        while (inLeft > 0) {
            if (iconv(m_cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
                if (errno == E2BIG) {
                    const qsizetype used = out - output.data();
                    output.resize(output.size() * 2);
                    out = output.data() + used;
                    outLeft = size_t(output.size() - used);
                    continue;
                }
                if (failedAt)
                    *failedAt = in - input.data();
                return std::nullopt;
            }
        }
        // A stateful encoding's closing shift.
        iconv(m_cd, nullptr, nullptr, &out, &outLeft);
        output.truncate(out - output.data());
        return output;
    }

private:
    iconv_t m_cd;
};

} // namespace

bool known(const QString &name)
{
    return Iconv(u"UTF-16LE"_s, name).ok();
}

std::optional<QString> decode(const QString &name, QByteArrayView bytes, qsizetype *failedAt)
{
    const auto utf16 = Iconv(u"UTF-16LE"_s, name).convert(bytes, failedAt);
    if (!utf16)
        return std::nullopt;
    return QString(reinterpret_cast<const QChar *>(utf16->constData()), utf16->size() / 2);
}

std::optional<QByteArray> encode(const QString &name, QStringView text)
{
    const QByteArrayView utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return Iconv(name, u"UTF-16LE"_s).convert(utf16, nullptr);
}

} // namespace basic::codepage
