#include "hostbridge/src/Methods.h"

#include "hostlink/HostMethodList.h"

#include <cmath>

namespace bridge {

const std::vector<Method> &methods()
{
#define LUMEN_BRIDGE_ROW(shape, name) {#name, Shape::shape},
    static const std::vector<Method> list = {LUMEN_HOST_METHODS(LUMEN_BRIDGE_ROW)};
#undef LUMEN_BRIDGE_ROW
    return list;
}

const Method *findMethod(const std::string &name)
{
    for (const Method &m : methods())
        if (name == m.name)
            return &m;
    return nullptr;
}

std::vector<ArgType> argTypes(Shape shape)
{
    switch (shape) {
    case Shape::Text:
        return {ArgType::TextRef};
    case Shape::TextText:
        return {ArgType::TextRef, ArgType::TextRef};
    case Shape::Real:
        return {ArgType::Real64Ref};
    case Shape::Int16:
        return {ArgType::Int16Ref};
    case Shape::Int16Int16:
        return {ArgType::Int16Ref, ArgType::Int16Ref};
    case Shape::RoiField:
        return {ArgType::Int16Ref, ArgType::TextVal};
    case Shape::Quantity:
        return {ArgType::Real32};
    case Shape::Counts:
        return {ArgType::CountsRef};
    default:
        return {};
    }
}

ResultType resultType(Shape shape)
{
    switch (shape) {
    case Shape::Channels:
        return ResultType::Int32;
    case Shape::Number:
        return ResultType::Real64;
    case Shape::Quantity:
    case Shape::Counts:
        return ResultType::Nothing;
    default:
        return ResultType::Text;
    }
}

const char *typeName(ArgType type)
{
    switch (type) {
    case ArgType::Int16Ref:
        return "short*";
    case ArgType::Real64Ref:
        return "double*";
    case ArgType::Real32:
        return "float";
    case ArgType::TextRef:
        return "BSTR*";
    case ArgType::TextVal:
        return "BSTR";
    case ArgType::CountsRef:
        return "SAFEARRAY(long)*";
    }
    return "?";
}

namespace {

std::string argumentError(std::size_t i, const Method &m, const char *what)
{
    return "Argument " + std::to_string(i + 1) + " of " + m.name + " must be " + what;
}

} // namespace

Call readCall(const Json &request)
{
    const Json &name = request.member("method");
    const std::string method = name.isText() ? name.asText() : std::string();
    Call call;
    call.method = findMethod(method);
    if (!call.method)
        throw RequestError("Unknown method: " + method);
    const Json &args = request.member("args");
    static const std::vector<Json> none;
    const std::vector<Json> &given = args.kind() == Json::Kind::Array ? args.items() : none;
    const std::vector<ArgType> types = argTypes(call.method->shape);
    if (given.size() != types.size())
        throw RequestError(std::string(call.method->name) + " takes " +
                           std::to_string(types.size()) + " arguments, not " +
                           std::to_string(given.size()));
    for (std::size_t i = 0; i < types.size(); ++i) {
        Arg arg;
        arg.type = types[i];
        const Json &v = given[i];
        if (types[i] == ArgType::TextRef || types[i] == ArgType::TextVal) {
            if (!v.isText())
                throw RequestError(argumentError(i, *call.method, "a text"));
            arg.text = v.asText();
        } else {
            if (!v.isNumber())
                throw RequestError(argumentError(i, *call.method, "a number"));
            arg.number = v.asNumber();
            const bool whole = arg.number == std::floor(arg.number);
            if (types[i] == ArgType::Int16Ref &&
                (!whole || arg.number < -32768.0 || arg.number > 32767.0))
                throw RequestError(argumentError(i, *call.method, "a 16-bit whole number"));
            if (types[i] == ArgType::CountsRef &&
                (!whole || arg.number < 0 || arg.number > kMaxCounts))
                throw RequestError("GetCounts: buffer size out of range");
        }
        call.args.push_back(std::move(arg));
    }
    return call;
}

Json callReply(const Call &call, Json result)
{
    Json back = Json::array();
    for (const Arg &a : call.args) {
        if (a.type == ArgType::TextRef)
            back.append(Json::text(a.text));
        else if (a.type == ArgType::Int16Ref || a.type == ArgType::Real64Ref)
            back.append(Json::number(a.number));
    }
    Json reply = Json::object();
    if (!back.items().empty())
        reply.set("args", std::move(back));
    reply.set("result", std::move(result));
    return reply;
}

Json failureReply(const std::string &description)
{
    return Json::object().set("failure", Json::text(description));
}

} // namespace bridge
