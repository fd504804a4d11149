"""Executes a notebook with nbclient in its own folder, on the kernel of this interpreter
(which inherits PYTHONPATH, so it imports the module under test); a cell that raises fails
the run. The executed copy is written where asked, so that its pictures can be looked at.

    run_notebook.py NOTEBOOK [EXECUTED_COPY]
"""
import pathlib
import sys

import nbclient
import nbformat


def main():
    notebook = pathlib.Path(sys.argv[1]).resolve()
    nb = nbformat.read(notebook, as_version=4)
    client = nbclient.NotebookClient(nb, timeout=600, kernel_name="python3",
                                     resources={"metadata": {"path": str(notebook.parent)}})
    try:
        client.execute()
    finally:
        if len(sys.argv) > 2:
            pathlib.Path(sys.argv[2]).parent.mkdir(parents=True, exist_ok=True)
            nbformat.write(nb, sys.argv[2])
    print(f"{notebook.name}: {len(nb.cells)} cells executed")


if __name__ == "__main__":
    main()
