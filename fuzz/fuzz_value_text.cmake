# Lines of value files: each line is read on its own.
set(max_len 4096)
