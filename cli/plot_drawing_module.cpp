// The painting backend of the Linux build with Qt: the plug-in library, loaded when a run first
// needs it, from beside the program (as in its build folder) or from its library folder (as
// installed).

#include <dlfcn.h>

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "cli/plot_drawing_backend.h"

namespace ambersel::cli {
namespace {

struct LibraryCloser {
    void operator()(void* library) const noexcept { dlclose(library); }
};
using Library = std::unique_ptr<void, LibraryCloser>;

// The plug-in's backend, with the plug-in kept loaded for as long as the backend lives.
class ModuleBackend final : public PaintingBackend {
  public:
    ModuleBackend(Library library, std::unique_ptr<PaintingBackend> backend)
        : m_library(std::move(library)), m_backend(std::move(backend)) {}

    std::string pngPicture(const plot::Chart& chart) const override {
        return m_backend->pngPicture(chart);
    }
    std::string pngPicture(plot::Size size,
                           const std::function<void(plot::Canvas&)>& draw) const override {
        return m_backend->pngPicture(size, draw);
    }
    std::string pdfReport(const report::Document& document,
                          const report::ReportHeading& heading) const override {
        return m_backend->pdfReport(document, heading);
    }

  private:
    Library m_library;  // first, so that it goes last
    std::unique_ptr<PaintingBackend> m_backend;
};

std::string failure(const std::filesystem::path& module, std::string_view why) {
    // The loader's messages start with the path that is named already.
    const std::string prefix = module.string() + ": ";
    if (why.starts_with(prefix)) {
        why.remove_prefix(prefix.size());
    }
    return "cannot load the painting library " + module.string() + " (" + std::string(why) +
           "); PNG pictures and PDF reports need it";
}

}  // namespace

std::variant<std::unique_ptr<PaintingBackend>, std::string> startPaintingBackend(
    const std::string& programName, bool /*pdf*/) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return failure(kPaintingModuleName,
                       "the program's own folder is unknown: " + error.message());
    }
    const std::filesystem::path beside = program.parent_path() / kPaintingModuleName;
    const std::filesystem::path installed =
        (program.parent_path() / AMBERSEL_PAINTING_MODULE_FOLDER / kPaintingModuleName)
            .lexically_normal();
    // Where none is, the message names the place the package puts it.
    const std::filesystem::path module =
        std::filesystem::exists(beside, error) ? beside : installed;
    Library library(dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
    if (!library) {
        return failure(module, dlerror());
    }
    const auto entry = reinterpret_cast<PaintingEntry>(dlsym(library.get(), kPaintingEntryName));
    if (entry == nullptr) {
        return failure(module, dlerror());
    }
    std::unique_ptr<PaintingBackend> backend(entry(programName.c_str(), AMBERSEL_VERSION));
    if (!backend) {
        return failure(module, "it belongs to another version of the program");
    }
    return std::make_unique<ModuleBackend>(std::move(library), std::move(backend));
}

}  // namespace ambersel::cli
