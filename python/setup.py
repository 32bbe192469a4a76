"""The ostrel module: the calculator's request layer and libraries compiled
into one extension, with the flags every CMake target of them takes, so that
its numbers are the command's to the last bit."""

import os
import re

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension, build_ext
from setuptools import setup

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def folder_sources(folder, variable):
    """The sources a folder's CMakeLists.txt lists in `variable`, so that the
    module compiles what the targets compile and no list is kept twice."""
    text = open(os.path.join(ROOT, folder, "CMakeLists.txt"), encoding="utf-8").read()
    block = re.search(r"set\(" + variable + r"\s(.*?)\)", text, re.S).group(1)
    names = re.findall(r"\$\{CMAKE_CURRENT_SOURCE_DIR\}/([\w/]+\.cpp)", block)
    return [os.path.join(ROOT, folder, name) for name in names]


# The window's computation as programs other than the window link it
# (engine/CMakeLists.txt, ostrel_engine_product): no window seam.
ENGINE = ["tournament_state.cpp", "seat_equity.cpp", "subset_equity.cpp"]

SOURCES = (
    [os.path.join(HERE, "src", name) for name in ("module.cpp", "table_module.cpp")]
    + folder_sources("model", "OSTREL_MODEL_SOURCES")
    + folder_sources("cards", "OSTREL_CARDS_SOURCES")
    + folder_sources("pushfold", "OSTREL_PUSHFOLD_SOURCES")
    + folder_sources("requests", "OSTREL_REQUESTS_SOURCES")
    + [os.path.join(ROOT, "engine", name) for name in ENGINE]
    + [os.path.join(ROOT, "entry", "number_entry.cpp")]
)

FOLDERS = ["model", "cards", "pushfold", "requests", "engine", "entry", "resources"]

# setuptools rebuilds the extension when a source is newer than it, and then
# compiles every source: the headers and tables listed too, so that a changed
# header never leaves objects of the old one in the module.
DEPENDS = sorted(
    os.path.join(root, name)
    for folder in FOLDERS + ["python/src"]
    for root, _, names in os.walk(os.path.join(ROOT, folder))
    for name in names
    if name.endswith((".h", ".inc"))
) + [os.path.abspath(__file__)]  # and its flags

# Results defined to the bit: no fused multiply-adds, no fast-math, no tuning
# for the build machine (cmake/CompilerSettings.cmake).
EXACT = ["-ffp-contract=off", "-fno-fast-math", "-O2"]

ParallelCompile("OSTREL_BUILD_JOBS", default=2).install()

setup(
    name="ostrel",
    version="2.10.0.9",
    description="Tournament equity, deals, bubble factors, all-in equity and push/fold spots",
    packages=["ostrel"],
    package_data={"ostrel": ["py.typed", "*.pyi"]},
    ext_modules=[
        Pybind11Extension(
            "ostrel._ostrel",
            sorted(SOURCES),
            include_dirs=[os.path.join(ROOT, folder) for folder in FOLDERS],
            cxx_std=17,
            extra_compile_args=EXACT,
            depends=DEPENDS,
        )
    ],
    cmdclass={"build_ext": build_ext},
    python_requires=">=3.9",
    install_requires=["numpy"],
    zip_safe=False,
)
