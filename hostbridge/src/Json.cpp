#include "hostbridge/src/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace bridge {

Json Json::boolean(bool b)
{
    Json j;
    j.m_kind = Kind::Bool;
    j.m_bool = b;
    return j;
}

Json Json::number(double d)
{
    Json j;
    j.m_kind = Kind::Number;
    j.m_number = d;
    return j;
}

Json Json::text(std::string utf8)
{
    Json j;
    j.m_kind = Kind::Text;
    j.m_text = std::move(utf8);
    return j;
}

Json Json::array(std::vector<Json> items)
{
    Json j;
    j.m_kind = Kind::Array;
    j.m_items = std::move(items);
    return j;
}

Json Json::object()
{
    Json j;
    j.m_kind = Kind::Object;
    return j;
}

const Json &Json::member(const std::string &key) const
{
    static const Json none;
    // The last of repeated keys wins, as with the Linux side's reader.
    for (auto it = m_members.rbegin(); it != m_members.rend(); ++it)
        if (it->first == key)
            return it->second;
    return none;
}

bool Json::has(const std::string &key) const
{
    for (const auto &m : m_members)
        if (m.first == key)
            return true;
    return false;
}

Json &Json::set(std::string key, Json value)
{
    m_members.emplace_back(std::move(key), std::move(value));
    return *this;
}

namespace {

class Parser
{
public:
    explicit Parser(const std::string &s) : m_s(s) {}

    bool document(Json &out)
    {
        // Deep nesting is refused rather than followed down the stack.
        if (!value(out, 0))
            return false;
        blanks();
        return m_i == m_s.size();
    }

private:
    // As deep as the Linux side's reader goes.
    static constexpr int kMaxDepth = 1024;

    void blanks()
    {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\n' || m_s[m_i] == '\r'))
            ++m_i;
    }
    bool literal(const char *word)
    {
        const std::string w(word);
        if (m_s.compare(m_i, w.size(), w) != 0)
            return false;
        m_i += w.size();
        return true;
    }

    bool value(Json &out, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        blanks();
        if (m_i >= m_s.size())
            return false;
        const char c = m_s[m_i];
        if (c == '{')
            return object(out, depth);
        if (c == '[')
            return array(out, depth);
        if (c == '"') {
            std::string t;
            if (!text(t))
                return false;
            out = Json::text(std::move(t));
            return true;
        }
        if (literal("true")) {
            out = Json::boolean(true);
            return true;
        }
        if (literal("false")) {
            out = Json::boolean(false);
            return true;
        }
        if (literal("null")) {
            out = Json();
            return true;
        }
        return number(out);
    }

    bool object(Json &out, int depth)
    {
        ++m_i;
        out = Json::object();
        blanks();
        if (m_i < m_s.size() && m_s[m_i] == '}') {
            ++m_i;
            return true;
        }
        for (;;) {
            blanks();
            std::string key;
            if (m_i >= m_s.size() || m_s[m_i] != '"' || !text(key))
                return false;
            blanks();
            if (m_i >= m_s.size() || m_s[m_i] != ':')
                return false;
            ++m_i;
            Json v;
            if (!value(v, depth + 1))
                return false;
            out.set(std::move(key), std::move(v));
            blanks();
            if (m_i >= m_s.size())
                return false;
            if (m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_s[m_i] != '}')
                return false;
            ++m_i;
            return true;
        }
    }

    bool array(Json &out, int depth)
    {
        ++m_i;
        out = Json::array();
        blanks();
        if (m_i < m_s.size() && m_s[m_i] == ']') {
            ++m_i;
            return true;
        }
        for (;;) {
            Json v;
            if (!value(v, depth + 1))
                return false;
            out.append(std::move(v));
            blanks();
            if (m_i >= m_s.size())
                return false;
            if (m_s[m_i] == ',') {
                ++m_i;
                continue;
            }
            if (m_s[m_i] != ']')
                return false;
            ++m_i;
            return true;
        }
    }

    bool number(Json &out)
    {
        const std::size_t start = m_i;
        if (m_i < m_s.size() && m_s[m_i] == '-')
            ++m_i;
        if (m_i >= m_s.size() || !isDigit(m_s[m_i]))
            return false;
        if (m_s[m_i] == '0')
            ++m_i;
        else
            digits();
        if (m_i < m_s.size() && m_s[m_i] == '.') {
            ++m_i;
            if (!digits())
                return false;
        }
        if (m_i < m_s.size() && (m_s[m_i] == 'e' || m_s[m_i] == 'E')) {
            ++m_i;
            if (m_i < m_s.size() && (m_s[m_i] == '+' || m_s[m_i] == '-'))
                ++m_i;
            if (!digits())
                return false;
        }
        const double d = std::strtod(m_s.substr(start, m_i - start).c_str(), nullptr);
        if (!std::isfinite(d))
            return false;
        out = Json::number(d);
        return true;
    }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    bool digits()
    {
        const std::size_t start = m_i;
        while (m_i < m_s.size() && isDigit(m_s[m_i]))
            ++m_i;
        return m_i > start;
    }

    bool hex4(unsigned &out)
    {
        if (m_i + 4 > m_s.size())
            return false;
        out = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = m_s[m_i++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }
    static void utf8(std::string &t, unsigned cp)
    {
        if (cp < 0x80) {
            t += char(cp);
        } else if (cp < 0x800) {
            t += char(0xC0 | (cp >> 6));
            t += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            t += char(0xE0 | (cp >> 12));
            t += char(0x80 | ((cp >> 6) & 0x3F));
            t += char(0x80 | (cp & 0x3F));
        } else {
            t += char(0xF0 | (cp >> 18));
            t += char(0x80 | ((cp >> 12) & 0x3F));
            t += char(0x80 | ((cp >> 6) & 0x3F));
            t += char(0x80 | (cp & 0x3F));
        }
    }

    bool text(std::string &t)
    {
        ++m_i;
        while (m_i < m_s.size()) {
            const char c = m_s[m_i++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                t += c;
                continue;
            }
            if (m_i >= m_s.size())
                return false;
            const char e = m_s[m_i++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                t += e;
                break;
            case 'b':
                t += '\b';
                break;
            case 'f':
                t += '\f';
                break;
            case 'n':
                t += '\n';
                break;
            case 'r':
                t += '\r';
                break;
            case 't':
                t += '\t';
                break;
            case 'u': {
                unsigned cp = 0;
                if (!hex4(cp))
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00 && m_i + 1 < m_s.size() && m_s[m_i] == '\\' &&
                    m_s[m_i + 1] == 'u') {
                    const std::size_t back = m_i;
                    m_i += 2;
                    unsigned low = 0;
                    if (hex4(low) && low >= 0xDC00 && low < 0xE000)
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    else
                        m_i = back;
                }
                if (cp >= 0xD800 && cp < 0xE000)
                    cp = 0xFFFD;
                utf8(t, cp);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    const std::string &m_s;
    std::size_t m_i = 0;
};

void writeText(std::string &out, const std::string &t)
{
    out += '"';
    for (const char c : t) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void writeNumber(std::string &out, double d)
{
    // JSON has no infinity or NaN: a host that gives one gives nothing.
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    char buf[32];
    if (d == std::floor(d) && std::fabs(d) < 9007199254740992.0) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(d));
        out += buf;
        return;
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    out.append(buf, r.ptr);
}

} // namespace

bool Json::parse(const std::string &text, Json &out)
{
    return Parser(text).document(out);
}

std::string Json::write() const
{
    std::string out;
    switch (m_kind) {
    case Kind::Null:
        out = "null";
        break;
    case Kind::Bool:
        out = m_bool ? "true" : "false";
        break;
    case Kind::Number:
        writeNumber(out, m_number);
        break;
    case Kind::Text:
        writeText(out, m_text);
        break;
    case Kind::Array:
        out += '[';
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (i)
                out += ',';
            out += m_items[i].write();
        }
        out += ']';
        break;
    case Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            if (i)
                out += ',';
            writeText(out, m_members[i].first);
            out += ':';
            out += m_members[i].second.write();
        }
        out += '}';
        break;
    }
    return out;
}

} // namespace bridge
