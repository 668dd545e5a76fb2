void qbk_runtime_anchor() {}
