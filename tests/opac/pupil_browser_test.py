#!/usr/bin/python3
"""The pupils' pages in a real browser (Debian's chromium, headless, through
chromium-driver and python3-selenium), on the demo school with its pupils'
pages turned on: a wrong password, then the login; the own page with an
overdue loan; reserving a book from its page and finding it in the desk's
reservations (yoyaku, which 予約状況 lists); cancelling it; logging out;
five wrong passwords and the lock. At a tablet's size (1024x768) and in
portrait (810x1080), without JavaScript; a screenshot of each step into
--shots.

    pupil_browser_test.py --opac PROGRAM --admin PROGRAM --shots DIR

Prints "N passed, N failed" last; exits 1 on a failure.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

checks = {"passed": 0, "failed": 0}


def check(ok, what):
    checks["passed" if ok else "failed"] += 1
    print(("ok   " if ok else "FAIL ") + what, flush=True)


def admin(program, *args):
    return subprocess.run([program, *args], check=True, capture_output=True, text=True)


def password_of(program, data, number, work):
    pdf = os.path.join(work, number + ".pdf")
    admin(program, "passwords", data, "--user", number, "--pdf", pdf)
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True,
                          text=True).stdout
    os.remove(pdf)
    return re.search(r"パスワード\s+([a-z2-9]{8})", text).group(1)


def sql(program, data, statement):
    return admin(program, "sql", data, statement).stdout


def start(opac, program, work):
    data = os.path.join(work, "school")
    os.makedirs(data)
    admin(program, "demo", data)
    admin(program, "web-switches", data, "--pupil-page", "on", "--reading-record", "on")
    # Pupil 10101 has a book out that was due yesterday.
    sql(program, data, "Insert Into kashibo (BOOK_ID, NAME_ID, seitoNo, kashidashibi, "
        "henkyakuyotei, kashidashiF) Values (9001, '100001', '10101', '2020/04/01', "
        "'2020/04/15', '1')")
    log = open(os.path.join(work, "opac.log"), "w+")
    process = subprocess.Popen(
        [opac, data, "--listen", "127.0.0.1:0", "--index", os.path.join(work, "index.sqlite"),
         "--name", "さくら小学校"], stdout=log, stderr=log)
    for _ in range(100):
        log.seek(0)
        found = re.search(r"http://127\.0\.0\.1:(\d+)/", log.read())
        if found:
            return process, data, "http://127.0.0.1:%s" % found.group(1)
        if process.poll() is not None:
            break
        time.sleep(0.1)
    log.seek(0)
    raise RuntimeError("kashidashi-opac did not start:\n" + log.read())


def browser(work):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--hide-scrollbars",
                 "--user-data-dir=" + os.path.join(work, "profile")):
        options.add_argument(flag)
    options.add_experimental_option(
        "prefs", {"profile.managed_default_content_settings.javascript": 2})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)




def press(driver, selector):
    # Clicks a button and waits for the page it leads to. While the old page
    # is torn down the driver may answer with a bare error instead of "stale":
    # both mean the old page is gone.
    old = driver.find_element(By.TAG_NAME, "html")
    driver.find_element(By.CSS_SELECTOR, selector).click()

    def gone(_):
        try:
            old.is_enabled()
            return False
        except WebDriverException:
            return True

    def loaded(_):
        try:
            return driver.execute_script("return document.readyState") == "complete"
        except WebDriverException:
            return False

    WebDriverWait(driver, 10).until(gone)
    WebDriverWait(driver, 10).until(loaded)


def login(driver, base, number, password):
    driver.get(base + "/login")
    driver.find_element(By.NAME, "number").send_keys(number)
    driver.find_element(By.NAME, "password").send_keys(password)
    press(driver, "form.pupil button")


def body(driver):
    return driver.find_element(By.TAG_NAME, "body").text


def run(args, work):
    process, data, base = start(args.opac, args.admin, work)
    try:
        password = password_of(args.admin, data, "10101", work)
        other = password_of(args.admin, data, "10102", work)
        driver = browser(work)
        try:
            for size, (width, height) in {"tablet": (1024, 768),
                                          "tablet-portrait": (810, 1080)}.items():
                driver.delete_all_cookies()
                driver.set_window_size(width, height)
                login(driver, base, "10101", "wrong-one")
                check("番号かパスワードがちがいます" in body(driver), size + ": a wrong password")
                driver.find_element(By.NAME, "number").send_keys("10101")
                driver.find_element(By.NAME, "password").send_keys(password)
                driver.save_screenshot(os.path.join(args.shots, "pupil-login-" + size + ".png"))
                press(driver, "form.pupil button")
                check(driver.current_url.endswith("/me"), size + ": logged in, the own page")
                check("返す日が過ぎています" in body(driver), size + ": the overdue loan marked")
                # Reserve a book on the shelf from its page.
                book = sql(args.admin, data, "Select BOOK_ID From Book Where kashidashiF=False "
                           "and kintaiF=False and ISBN is not Null Order By BOOK_ID").split()[1]
                driver.get(base + "/book/" + book)
                press(driver, "form.reserve button")
                check("予約しました" in body(driver), size + ": reserved")
                queue = sql(args.admin, data, "Select Name_ID From yoyaku Where Book_ID=" + book)
                check("100001" in queue, size + ": the desk's reservations hold it")
                driver.get(base + "/me")
                check("1番目" in body(driver), size + ": first in the queue")
                driver.save_screenshot(
                    os.path.join(args.shots, "pupil-own-page-" + size + ".png"))
                fits = driver.execute_script(
                    "return document.documentElement.scrollWidth <= window.innerWidth")
                check(fits, size + ": the own page fits the width")
                press(driver, "table.reservations form button")
                check("予約を取り消しました" in body(driver), size + ": cancelled")
                queue = sql(args.admin, data, "Select Name_ID From yoyaku Where Book_ID=" + book)
                check("100001" not in queue, size + ": gone from the desk's reservations")
                press(driver, "div.actions form button")
                driver.get(base + "/me")
                check(driver.current_url.endswith("/login"), size + ": logged out")
            for _ in range(5):
                login(driver, base, "10102", "wrong-one")
            login(driver, base, "10102", other)
            check("15分" in body(driver), "five wrong passwords lock the account")
            driver.save_screenshot(os.path.join(args.shots, "pupil-locked-tablet.png"))
        finally:
            driver.quit()
    finally:
        process.terminate()
        process.wait(10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--opac", required=True)
    parser.add_argument("--admin", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()
    os.makedirs(args.shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="kx-pupil-browser-")
    try:
        run(args, work)
    except Exception as error:  # a failure of the run itself
        check(False, "the run: %r" % error)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d passed, %d failed" % (checks["passed"], checks["failed"]))
    sys.exit(1 if checks["failed"] else 0)


if __name__ == "__main__":
    main()
