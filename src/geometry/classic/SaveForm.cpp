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

} // namespace kelp
