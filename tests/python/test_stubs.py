"""The type stubs of the C++ part (_tandem.pyi) name exactly what the module has, so that an
editor completes every name and offers none that is missing."""
import ast
import pathlib

import tandem
from tandem import _tandem


def stub_names():
    tree = ast.parse((pathlib.Path(tandem.__file__).parent / "_tandem.pyi").read_text())
    classes, functions = {}, set()
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            classes[node.name] = {n.name if isinstance(n, ast.FunctionDef) else n.target.id
                                  if isinstance(n, ast.AnnAssign) else n.targets[0].id
                                  for n in node.body
                                  if isinstance(n, (ast.FunctionDef, ast.AnnAssign, ast.Assign))}
        elif isinstance(node, ast.FunctionDef):
            functions.add(node.name)
    return classes, functions


def test_stubs_name_what_the_module_has():
    classes, functions = stub_names()
    module = {name for name, value in vars(_tandem).items() if callable(value)
              and not isinstance(value, type)}
    assert functions == module
    for name, names in classes.items():
        real = getattr(_tandem, name)
        if hasattr(real, "__members__"):
            assert names == set(real.__members__), name
            continue
        public = {n for n in dir(real) if not n.startswith("__")}
        assert names - {"__init__"} == public, name
