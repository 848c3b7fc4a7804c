#include "classic/SaveForm.h"

namespace kelp {

SaveForm chooseSaveForm(const std::string &path) {
    SaveForm form;
#ifdef _WIN32
    std::string::size_type slash = path.find_last_of("/\\");
#else
    std::string::size_type slash = path.rfind('/');
#endif
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

    std::string::size_type dot = name.rfind('.');
    form.ext = dot == std::string::npos ? name : name.substr(dot + 1);

    if (name.find(".geo") != std::string::npos)
        form.kind = SaveForm::Text;
    else if (name.find(".bgeo") != std::string::npos)
        form.kind = SaveForm::Binary;
    else
        return form;
    form.compressed = std::string("gz").find(form.ext) != std::string::npos;
    return form;
}

namespace {

bool endsWith(const std::string &name, const char *tail) {
    const std::string::size_type n = std::char_traits<char>::length(tail);
    return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
}

} // namespace

SaveForm chooseSaveForm(const std::string &path, bool json) {
    SaveForm form = chooseSaveForm(path);
    const std::string::size_type slash = path.find_last_of(
#ifdef _WIN32
        "/\\"
#else
        "/"
#endif
    );
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (endsWith(name, ".bhclassic") || endsWith(name, ".hclassic")) {
        form.kind = name[name.size() - 9] == 'b' ? SaveForm::Binary : SaveForm::Text;
        form.compressed = false;
        return form;
    }
    if (endsWith(name, ".bgeo.sc")) {
        form.kind = SaveForm::Binary;
        form.compressed = false;
        form.json = form.blosc = true;
        return form;
    }
    form.json = json && form.kind != SaveForm::Refused;
    return form;
}

} // namespace kelp
