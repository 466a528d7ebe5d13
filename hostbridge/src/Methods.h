#pragma once

// The host's methods as the bridge calls them, generated from the one
// method list that the Linux side is generated from too.

#include "hostbridge/src/Json.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace bridge {

enum class Shape
{
    Probe,
    Plain,
    Text,
    TextText,
    Real,
    Int16,
    Int16Int16,
    RoiField,
    Channels,
    Quantity,
    Counts,
    Number
};

/** How one argument travels to the host. */
enum class ArgType
{
    Int16Ref,
    Real64Ref,
    Real32,
    TextRef,
    TextVal,
    CountsRef
};

/** What the host gives back. */
enum class ResultType
{
    Text,
    Int32,
    Real64,
    Nothing
};

struct Method
{
    const char *name;
    Shape shape;
};

const std::vector<Method> &methods();
/** The method of that name (letter case as listed), null when there is none. */
const Method *findMethod(const std::string &name);
std::vector<ArgType> argTypes(Shape shape);
ResultType resultType(Shape shape);
/** The automation type name of an argument or result, as a type library writes it. */
const char *typeName(ArgType type);

/** One argument, read from the request and changed by the host when by reference. */
struct Arg
{
    ArgType type = ArgType::Int16Ref;
    double number = 0;
    std::string text;
};

struct Call
{
    const Method *method = nullptr;
    std::vector<Arg> args;
};

/** A request the bridge will not pass on; what() is the reply's failure text. */
class RequestError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/** Largest GetCounts buffer a caller may ask for. */
constexpr double kMaxCounts = 1 << 20;

/** The call a request object asks for. Throws RequestError with the Linux side's texts. */
Call readCall(const Json &request);

/** {"args": [by-reference values after the call], "result": result}, args left out when none. */
Json callReply(const Call &call, Json result);
Json failureReply(const std::string &description);

} // namespace bridge
