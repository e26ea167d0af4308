# bash completion for kovran: its options, and file names after the options that take a path.
_kovran() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local k
  for ((k = 1; k < COMP_CWORD; k++)); do
    [[ ${COMP_WORDS[k]} == -- ]] && return 0  # the options have ended: PARM follows
  done
  # --opt=PATH: bash splits the word at "=".
  if [[ $cur == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-1]}
    cur=
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi
  case $prev in
    --program | --file[1-6] | --listing | --filedump | --sysprint | --parm-file)
      COMPREPLY=($(compgen -f -- "$cur"))
      return 0
      ;;
    --clock)
      return 0
      ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "--program --file1 --file2 --file3 --file4 --file5 --file6
      --listing --filedump --sysprint --parm-file --clock --progress --check --record-local --verbose -h --help
      -V --version --" \
      -- "$cur"))
  fi
}
complete -o filenames -F _kovran kovran
