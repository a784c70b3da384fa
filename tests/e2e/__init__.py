"""Shared code of the end-to-end tests: the tool driven by real X input under Wine, the way a
person uses it, and everything it leaves behind read back from outside."""
