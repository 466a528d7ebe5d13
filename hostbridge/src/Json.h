#pragma once

// The little JSON the bridge protocol needs: one object per line, with texts,
// numbers, arrays, true, false and null. Texts are held as UTF-8.

#include <string>
#include <utility>
#include <vector>

namespace bridge {

class Json
{
public:
    enum class Kind
    {
        Null,
        Bool,
        Number,
        Text,
        Array,
        Object
    };

    Json() = default;
    static Json boolean(bool b);
    static Json number(double d);
    static Json text(std::string utf8);
    static Json array(std::vector<Json> items = {});
    static Json object();

    Kind kind() const { return m_kind; }
    bool isNumber() const { return m_kind == Kind::Number; }
    bool isText() const { return m_kind == Kind::Text; }
    bool isTrue() const { return m_kind == Kind::Bool && m_bool; }
    double asNumber() const { return m_number; }
    const std::string &asText() const { return m_text; }
    const std::vector<Json> &items() const { return m_items; }
    void append(Json item) { m_items.push_back(std::move(item)); }

    /** The member named `key`, or a null value when there is none. */
    const Json &member(const std::string &key) const;
    bool has(const std::string &key) const;
    /** Adds a member; the writer keeps them in the order added. */
    Json &set(std::string key, Json value);

    /** The whole of `text` as one value (blanks around it allowed); false when it is not. */
    static bool parse(const std::string &text, Json &out);
    /** Compact form, no line feed. */
    std::string write() const;

private:
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_text;
    std::vector<Json> m_items;
    std::vector<std::pair<std::string, Json>> m_members;
};

} // namespace bridge
