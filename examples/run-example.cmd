@echo off
rem Runs tamvek on the example data set for the year 2010, from the folder that
rem holds tamvek.exe and the examples folder.
rem
rem   run-example.cmd [nopause]
rem
rem The yearly files are copied to example-run\ beside this script, a fresh
rem working directory with an empty out\ on every run; the static files are read
rem in place from examples\root\, which stands for the root of the drive. The
rem operator pause is answered with go. Afterwards the script lists the output
rem files and shows the check report. Started from Explorer it waits for a key
rem at the end, so that the window stays open; with an argument, or from an open
rem console, it does not. It exits with the program's status, or 1 if the run
rem left no check report.
setlocal
set "here=%~dp0"
set "work=%here%example-run"
set "year=2010"

if exist "%work%" rmdir /s /q "%work%"
mkdir "%work%\out"
if errorlevel 1 (
  >&2 echo run-example: cannot make %work%\out
  set "status=1"
  goto done
)
copy /y "%here%examples\work\authacres%year%.txt" "%work%\" >nul
copy /y "%here%examples\work\tamvek%year%.txt" "%work%\" >nul
set "TAMVEK_ROOT=%here%examples\root"

echo == tamvek %year% in %work%
pushd "%work%"
echo go| "%here%tamvek.exe" %year%
set "status=%errorlevel%"
popd

echo.
echo == output files in %work%\out
dir /b "%work%\out"
if not "%status%"=="0" (
  >&2 echo run-example: tamvek ended with status %status%
  goto done
)
if not exist "%work%\out\check%year%.out" (
  >&2 echo run-example: the run wrote no check report
  set "status=1"
  goto done
)
echo.
echo == check report %work%\out\check%year%.out
type "%work%\out\check%year%.out"

:done
if not "%~1"=="" exit /b %status%
rem Explorer starts a script with cmd /c and closes its window when it ends.
echo %CMDCMDLINE% | find /i "/c" >nul && pause
exit /b %status%
