! Reference tables for the fixed-column and free-format kernel, written by gfortran.
!
! Run through gen_fortran_tables.sh, which compiles this program and runs it in
! tests/data/fortran/ with the free-format cases (list_cases.txt, list_text_cases.txt) and
! the hand-picked fixed-column fields (field_cases.txt) on hand.
!
! Every table line holds the input (reals as the hex bits of their single or double
! precision value) and what gfortran made of it, the fields separated by "|".
!
! Left out on purpose, where the program keeps its own rule (the tests check those by hand):
!   - G output of zero: the program gives zero the exponent 0 (G12.6 -> "0.000000    "),
!     gfortran the exponent 1 (" 0.00000    ");
!   - Ew.0, which gfortran refuses at run time;
!   - input that gfortran turns into Inf or NaN (NaN and Inf texts, values beyond the single
!     precision range): a read error in the program;
!   - non-zero values below the smallest normal single precision value, which gfortran reads
!     as subnormals or zero: a read error in the program;
!   - fixed-column reals with an exponent but no digit before it ("E5", "--1"): gfortran
!     reads 0, the program reports a read error;
!   - the Q exponent letter, which only gfortran knows (kept out of the random fields);
!   - free format: gfortran also takes ";" as a separator and ends a quoted text left open
!     at the end of the file; the program knows blanks, tabs and commas only and reports the
!     end of the file (no such case is in list_cases.txt).
program fortran_tables
  use, intrinsic :: ieee_arithmetic
  implicit none
  integer(8) :: seed = 20240601_8

  call int_table()
  call real_tables()
  call double_table()
  call la_table()
  call field_table()
  call list_table()
  call list_text_table()

contains

  ! MINSTD generator: deterministic across machines.
  integer function rnd(n)
    integer, intent(in) :: n
    seed = mod(seed * 48271_8, 2147483647_8)
    rnd = int(mod(seed, int(n, 8)))
  end function

  real(8) function urand()
    seed = mod(seed * 48271_8, 2147483647_8)
    urand = real(seed, 8) / 2147483647.0d0
  end function

  ! ------------------------------------------------------------------ Iw
  subroutine int_table()
    integer, parameter :: nfix = 44
    integer :: fixed(nfix) = [0, 1, -1, 7, -7, 9, -9, 10, -10, 99, -99, 100, -100, 999, -999, 1000, -1000, &
      9999, -9999, 10000, 25000, -180, 360, 99999, -99999, 100000, 999999, -999999, 1000000, 9999999, &
      -9999999, 10000000, 99999999, -99999999, 100000000, 999999999, -999999999, 1000000000, &
      2147483647, -2147483647, -2147483647 - 1, 12345, -12345, 5000]
    integer :: u, k, w, v, ndig
    character(len=20) :: f
    character(len=12) :: s
    open(newunit=u, file='format_int.txt', status='replace', action='write')
    write(u, '(a)') '# value|I1|I2|...|I12|  (gfortran Iw)'
    do k = 1, nfix + 260
      if (k <= nfix) then
        v = fixed(k)
      else
        ndig = 1 + rnd(10)
        v = int(min(2147483647.0d0, urand() * 10.0d0**ndig))
        if (rnd(2) == 0) v = -v
      end if
      write(u, '(i0,a)', advance='no') v, '|'
      do w = 1, 12
        write(f, '(a,i0,a)') '(i', w, ')'
        write(s, f) v
        write(u, '(a,a)', advance='no') s(1:w), '|'
      end do
      write(u, '(a)') ''
    end do
    close(u)
  end subroutine

  ! ------------------------------------------------------------------ values
  subroutine real_values(x, n)
    real, intent(out) :: x(:)
    integer, intent(out) :: n
    real :: picked(64) = [0.0, 0.125, 0.375, 2.5, 35.5, 36.5, 0.5, 1.5, -0.5, -2.5, -0.3, -0.05, &
      -0.001, 0.05, 12.5, 999999.5, 123456.4, 9.99, 9.996, 9.991, 99.95, 0.099999, 1e30, 1e-30, &
      1e-40, 3.4028235e38, 1.17549435e-38, 45.9, -12.7, 89.9, 3.14159, 1e6, 1e7, 16777216.0, &
      99999999.0, 0.4, -0.4, 0.6, -0.6, 0.95, -0.95, 0.995, 0.9995, 9.5, 99.5, 0.045, 0.0625, &
      -0.0625, 0.03125, 1e-5, -1e-5, 5e-6, 123.456, 1234567890.0, -180.0, 360.0, 89.5, 90.5, 0.001, &
      0.0005, 0.00049, 7.0, -7.0, 1e10]
    integer :: k, e
    real(8) :: m
    n = 0
    do k = 1, size(picked)
      n = n + 1; x(n) = picked(k)
    end do
    n = n + 1; x(n) = -0.0
    ! Exact binary ties at 0, 1, 2 and 3 decimals, both signs.
    do k = 1, 60
      n = n + 1; x(n) = real(rnd(2000)) + 0.5
      n = n + 1; x(n) = -(real(rnd(200)) + 0.25 * real(1 + 2 * rnd(2)))
      n = n + 1; x(n) = real(rnd(100)) + 0.125 * real(1 + 2 * rnd(4))
      n = n + 1; x(n) = real(rnd(20)) + 0.0625 * real(1 + 2 * rnd(8))
    end do
    ! Negatives below 1 and small magnitudes near the rounding edges of the narrow fields.
    do k = 1, 60
      n = n + 1; x(n) = -real(urand())
      n = n + 1; x(n) = real(urand() * 0.01d0)
      n = n + 1; x(n) = -real(urand() * 0.001d0)
    end do
    ! Random magnitudes over the whole range.
    do while (n < size(x) - 3)
      e = rnd(26) - 12
      m = 1.0d0 + 9.0d0 * urand()
      n = n + 1; x(n) = real(m * 10.0d0**e)
      if (rnd(2) == 0) x(n) = -x(n)
    end do
    n = n + 1; x(n) = ieee_value(x(1), ieee_positive_inf)
    n = n + 1; x(n) = ieee_value(x(1), ieee_negative_inf)
    n = n + 1; x(n) = ieee_value(x(1), ieee_quiet_nan)
  end subroutine

  ! One table: a header with the descriptors, then one line per value.
  subroutine write_real_table(file, descs, x, n, skip_zero)
    character(len=*), intent(in) :: file
    character(len=*), intent(in) :: descs(:)
    real, intent(in) :: x(:)
    integer, intent(in) :: n
    logical, intent(in) :: skip_zero
    integer :: u, k, j, w, left_out
    character(len=64) :: s
    logical :: twice
    open(newunit=u, file=file, status='replace', action='write')
    write(u, '(a)', advance='no') '# bits'
    do j = 1, size(descs)
      write(u, '(a,a)', advance='no') '|', trim(descs(j))
    end do
    write(u, '(a)') '|'
    left_out = 0
    do k = 1, n
      if (skip_zero .and. x(k) == 0.0) cycle
      twice = .false.
      do j = 1, size(descs)
        if (descs(j)(1:1) == 'G') twice = twice .or. g_twice_rounded(x(k), descs(j))
      end do
      if (twice) then
        left_out = left_out + 1
        cycle
      end if
      write(u, '(z8.8,a)', advance='no') transfer(x(k), 0), '|'
      do j = 1, size(descs)
        read(descs(j)(2:index(descs(j), '.') - 1), *) w
        write(s, '(' // trim(descs(j)) // ')') x(k)
        write(u, '(a,a)', advance='no') s(1:w), '|'
      end do
      write(u, '(a)') ''
    end do
    if (left_out > 0) write(u, '(a,i0,a)') '# left out: ', left_out, &
      ' values whose G form gfortran picks from a twice-rounded value'
    close(u)
  end subroutine

  ! True when gfortran's Gw.d of x differs from the rule of the program: the exponent e of
  ! x rounded once to d significant digits (as Ew.d shows it) picks F(w-4).(d-e) and four
  ! blanks for 0 <= e <= d, Ew.d otherwise. For a few single precision values just below a
  ! rounding edge (0.95 in G8.1, 99.95 in G10.3) gfortran rounds twice and gets the next
  ! power of ten.
  logical function g_twice_rounded(x, desc)
    real, intent(in) :: x
    character(len=*), intent(in) :: desc
    integer :: w, d, e, p
    character(len=64) :: g, es, f
    character(len=16) :: fd
    g_twice_rounded = .false.
    if (x == 0.0 .or. .not. ieee_is_finite(x)) return
    p = index(desc, '.')
    read(desc(2:p - 1), *) w
    read(desc(p + 1:), *) d
    write(g, '(' // trim(desc) // ')') x
    write(fd, '(a,i0,a)') '(e40.', d, 'e4)'
    write(es, fd) x
    read(es(index(es, 'E') + 1:), *) e
    if (e >= 0 .and. e <= d) then
      write(fd, '(a,i0,a,i0,a)') '(f', w - 4, '.', d - e, ')'
      write(f, fd) x
      if (index(f(1:w - 4), '*') > 0) then
        f = repeat('*', w)
      else
        f = f(1:w - 4) // '    '
      end if
    else
      write(fd, '(a,i0,a,i0,a)') '(e', w, '.', d, ')'
      write(f, fd) x
    end if
    g_twice_rounded = f(1:w) /= g(1:w)
  end function

  subroutine real_tables()
    real :: x(900)
    integer :: n
    character(len=6) :: fd(33) = [character(len=6) :: 'F1.0', 'F2.0', 'F2.1', 'F3.0', &
      'F3.1', 'F3.2', 'F4.0', 'F4.1', 'F4.2', 'F4.3', 'F5.0', 'F5.1', 'F5.2', 'F5.3', 'F6.0', &
      'F6.1', 'F6.2', 'F6.3', 'F7.1', 'F7.2', 'F7.3', 'F8.1', 'F8.2', 'F8.3', 'F9.1', 'F9.3', &
      'F10.3', 'F11.4', 'F12.3', 'F13.1', 'F14.2', 'F15.6', 'F30.5']
    character(len=6) :: ed(12) = [character(len=6) :: 'E7.1', 'E7.2', 'E8.1', 'E8.2', &
      'E9.2', 'E9.3', 'E10.3', 'E10.4', 'E11.4', 'E12.5', 'E13.6', 'E15.7']
    character(len=6) :: gd(11) = [character(len=6) :: 'G8.1', 'G9.2', 'G10.3', &
      'G11.4', 'G12.5', 'G12.6', 'G13.6', 'G14.7', 'G15.3', 'G16.8', 'G20.1']
    call real_values(x, n)
    call write_real_table('format_f.txt', fd, x, n, .false.)
    call write_real_table('format_e.txt', ed, x, n, .false.)
    call write_real_table('format_g.txt', gd, x, n, .true.)
  end subroutine

  ! ------------------------------------------------------------------ double precision
  subroutine double_table()
    character(len=6) :: d(8) = [character(len=6) :: 'F6.2', 'F10.3', 'F15.6', &
      'F30.5', 'E9.2', 'E12.4', 'G12.6', 'G20.1']
    real(8) :: x(240)
    integer :: n, k, j, u, w, e
    character(len=64) :: s
    n = 0
    x(1:14) = [0.125d0, 2.5d0, -0.5d0, 1d-300, -1d-300, 1d300, 1d100, 1d-100, 9.995d99, &
      0.1d0, 1d0 / 3d0, 2d0**60, 123456789.125d0, -0.0005d0]
    n = 14
    do while (n < size(x))
      e = rnd(80) - 40
      if (rnd(10) == 0) e = rnd(600) - 300
      n = n + 1; x(n) = (1.0d0 + 9.0d0 * urand()) * 10.0d0**e
      if (rnd(2) == 0) x(n) = -x(n)
    end do
    open(newunit=u, file='format_double.txt', status='replace', action='write')
    write(u, '(a)', advance='no') '# bits'
    do j = 1, size(d)
      write(u, '(a,a)', advance='no') '|', trim(d(j))
    end do
    write(u, '(a)') '|'
    do k = 1, n
      write(u, '(z16.16,a)', advance='no') transfer(x(k), 0_8), '|'
      do j = 1, size(d)
        read(d(j)(2:index(d(j), '.') - 1), *) w
        write(s, '(' // trim(d(j)) // ')') x(k)
        write(u, '(a,a)', advance='no') s(1:w), '|'
      end do
      write(u, '(a)') ''
    end do
    close(u)
  end subroutine

  ! ------------------------------------------------------------------ Lw and Aw
  subroutine la_table()
    integer :: u, k, j
    character(len=12) :: s
    character(len=10), parameter :: texts(7) = [character(len=10) :: 'a', 'abc', 'Test on:', &
      'abcdefghij', ' x ', 'seis.ps', '']
    integer, parameter :: lens(7) = [1, 3, 8, 10, 3, 7, 0]
    integer, parameter :: widths(7) = [1, 2, 3, 5, 8, 10, 12]
    open(newunit=u, file='format_la.txt', status='replace', action='write')
    write(u, '(a)') '# L: value|L1|L2|L5|'
    write(u, '(a,l1,a,l2,a,l5,a)') 'T|', .true., '|', .true., '|', .true., '|'
    write(u, '(a,l1,a,l2,a,l5,a)') 'F|', .false., '|', .false., '|', .false., '|'
    write(u, '(a)') '# A: text|A1|A2|A3|A5|A8|A10|A12|'
    do k = 1, size(texts)
      write(u, '(a,a)', advance='no') texts(k)(1:lens(k)), '|'
      do j = 1, size(widths)
        s = ''
        write(s, '(a' // achar(48 + widths(j) / 10) // achar(48 + mod(widths(j), 10)) // ')') &
          texts(k)(1:lens(k))
        write(u, '(a,a)', advance='no') s(1:widths(j)), '|'
      end do
      write(u, '(a)') ''
    end do
    close(u)
  end subroutine

  ! ------------------------------------------------------------------ fixed-column input
  ! True when the field holds an exponent with no digit before it, which the program
  ! refuses and gfortran reads as 0.
  logical function exponent_without_mantissa(s)
    character(len=*), intent(in) :: s
    integer :: k
    logical :: started, digit
    character :: c
    started = .false.; digit = .false.
    exponent_without_mantissa = .false.
    do k = 1, len(s)
      c = s(k:k)
      if (c == ' ') cycle
      if (index('0123456789', c) > 0) then
        digit = .true.
      else if (index('eEdDqQ', c) > 0 .or. ((c == '+' .or. c == '-') .and. started)) then
        exponent_without_mantissa = .not. digit
        return
      end if
      started = .true.
    end do
  end function

  subroutine read_one(u, desc, field)
    integer, intent(in) :: u
    character(len=*), intent(in) :: desc, field
    integer :: ios, iv
    real :: r
    if (desc(1:1) == 'I') then
      iv = -777
      read(field, '(' // trim(desc) // ')', iostat=ios) iv
      if (ios == 0) then
        write(u, '(a,a,a,a,i0)') trim(desc), '|', field, '|ok|', iv
      else
        write(u, '(a,a,a,a)') trim(desc), '|', field, '|err|'
      end if
    else if (desc(1:1) == 'F') then
      if (exponent_without_mantissa(field)) return
      r = -7.77
      read(field, '(' // trim(desc) // ')', iostat=ios) r
      if (ios == 0) then
        if (.not. ieee_is_finite(r)) return
        if (underflows(field, r)) return
        write(u, '(a,a,a,a,z8.8)') trim(desc), '|', field, '|ok|', transfer(r, 0)
      else
        write(u, '(a,a,a,a)') trim(desc), '|', field, '|err|'
      end if
    end if
  end subroutine

  ! A non-zero value that single precision holds only as a subnormal or as zero: read as
  ! zero although a digit before the exponent is not 0.
  logical function underflows(field, r)
    character(len=*), intent(in) :: field
    real, intent(in) :: r
    integer :: k
    logical :: started
    underflows = abs(r) < tiny(r) .and. r /= 0
    if (underflows .or. r /= 0) return
    started = .false.
    do k = 1, len(field)
      if (scan(field(k:k), 'eEdD') > 0) exit
      if (scan(field(k:k), '+-') > 0 .and. started) exit
      if (scan(field(k:k), '0123456789.') > 0) started = .true.
      if (scan(field(k:k), '123456789') > 0) underflows = .true.
    end do
  end function

  subroutine field_table()
    character(len=8) :: descs(18) = [character(len=8) :: 'I1', 'I2', 'I3', 'I4', 'I5', &
      'I6', 'I12', 'F2.1', 'F3.0', 'F4.0', 'F5.0', 'F5.2', 'F6.1', 'F6.2', 'F6.3', 'F7.3', &
      'F8.3', 'F10.4']
    character(len=*), parameter :: alphabet = '0123456789012345678901234567890123456789     ..+-+-eEdD'
    character(len=60) :: line
    character(len=12) :: field, num
    integer :: u, uin, ios, k, j, w, n, bar, p
    open(newunit=u, file='read_fields.txt', status='replace', action='write')
    write(u, '(a)') '# descriptor|field|ok or err|value (integer, or the hex bits of the real)'
    ! Hand-picked fields: "descriptor|field|" lines of field_cases.txt.
    open(newunit=uin, file='field_cases.txt', status='old', action='read')
    do
      read(uin, '(a)', iostat=ios) line
      if (ios /= 0) exit
      if (line(1:1) == '#' .or. len_trim(line) == 0) cycle
      bar = index(line, '|')
      n = index(line(bar + 1:), '|') - 1
      call read_one(u, line(1:bar - 1), line(bar + 1:bar + n))
    end do
    close(uin)
    ! Random fields over digits, blanks, points, signs and exponent letters.
    do k = 1, 1400
      j = 1 + rnd(size(descs))
      read(descs(j)(2:scan(descs(j), '. ') - 1), *) w
      field = ''
      if (rnd(3) == 0) then
        ! A well-formed number with blanks scattered into it.
        write(num, '(es12.3e2)') (urand() - 0.3d0) * 10.0d0**(rnd(8) - 3)
        num = adjustl(num)
        if (rnd(2) == 0) num = num(1:scan(num, 'E') - 1)
        if (rnd(2) == 0 .and. index(num, '.') > 0) num = num(1:index(num, '.') - 1) // num(index(num, '.') + 1:)
        do n = 1, min(w, len_trim(num))
          field(n:n) = num(n:n)
        end do
        if (rnd(2) == 0 .and. w > 1) field = ' ' // field(1:w - 1)
      else
        do n = 1, w
          p = 1 + rnd(len(alphabet))
          field(n:n) = alphabet(p:p)
        end do
      end if
      call read_one(u, descs(j), field(1:w))
    end do
    close(u)
  end subroutine

  ! ------------------------------------------------------------------ free format, records
  ! list_cases.txt holds cases: "> pattern" (one letter per item, i integer, f real, a text
  ! of 8 characters; ";" starts a second read), the lines of the file, and "@@". The table
  ! repeats the lines ("<" + line) and gives one "=" line per read: ok, err or eof, and the
  ! items after an ok or eof read (texts in brackets, reals as hex bits).
  subroutine list_table()
    character(len=200) :: line, pattern
    character(len=200) :: lines(20)
    integer :: u, uin, us, ios, n, k, p, q
    open(newunit=u, file='read_list.txt', status='replace', action='write')
    write(u, '(a)') '# > items (i integer, f real, a text of 8; ";" a second read); < lines; = results'
    write(u, '(a)') '# start values: integers -777, reals C0F8A3D7 (-7.77), texts ########'
    open(newunit=uin, file='list_cases.txt', status='old', action='read')
    do
      read(uin, '(a)', iostat=ios) line
      if (ios /= 0) exit
      if (line(1:2) /= '> ') cycle
      pattern = line(3:)
      n = 0
      do
        read(uin, '(a)') line
        if (line(1:2) == '@@') exit
        n = n + 1; lines(n) = line
      end do
      write(u, '(a,a)') '> ', trim(pattern)
      open(newunit=us, status='scratch', action='readwrite')
      do k = 1, n
        write(u, '(a,a)') '<', trim(lines(k))
        write(us, '(a)') trim(lines(k))
      end do
      rewind(us)
      p = 1
      do
        q = index(pattern(p:), ';')
        if (q == 0) then
          call list_read(u, us, trim(pattern(p:)))
          exit
        end if
        call list_read(u, us, pattern(p:p + q - 2))
        p = p + q
      end do
      close(us)
    end do
    close(uin)
    close(u)
  end subroutine

  subroutine list_read(u, us, items)
    integer, intent(in) :: u, us
    character(len=*), intent(in) :: items
    integer :: iv(8), ios, k, ni, nf, na
    real :: rv(8)
    character(len=8) :: cv(8)
    iv = -777; rv = -7.77; cv = '########'
    ios = 0
    select case (items)
    case ('i'); read(us, *, iostat=ios) iv(1)
    case ('ii'); read(us, *, iostat=ios) iv(1), iv(2)
    case ('iii'); read(us, *, iostat=ios) iv(1:3)
    case ('iiii'); read(us, *, iostat=ios) iv(1:4)
    case ('f'); read(us, *, iostat=ios) rv(1)
    case ('ff'); read(us, *, iostat=ios) rv(1:2)
    case ('fff'); read(us, *, iostat=ios) rv(1:3)
    case ('ffff'); read(us, *, iostat=ios) rv(1:4)
    case ('a'); read(us, *, iostat=ios) cv(1)
    case ('aa'); read(us, *, iostat=ios) cv(1:2)
    case ('aaa'); read(us, *, iostat=ios) cv(1:3)
    case ('ifffa'); read(us, *, iostat=ios) iv(1), rv(1:3), cv(1)
    case ('iifa'); read(us, *, iostat=ios) iv(1:2), rv(1), cv(1)
    case ('iiif'); read(us, *, iostat=ios) iv(1:3), rv(1)
    case default
      print *, 'unknown pattern ', items
      stop 1
    end select
    if (ios > 0) then
      write(u, '(a)') '= err'
      return
    end if
    if (ios < 0) then
      write(u, '(a)', advance='no') '= eof'
    else
      write(u, '(a)', advance='no') '= ok'
    end if
    ni = 0; nf = 0; na = 0
    do k = 1, len(items)
      select case (items(k:k))
      case ('i')
        ni = ni + 1
        write(u, '(a,i0)', advance='no') '|', iv(ni)
      case ('f')
        nf = nf + 1
        write(u, '(a,z8.8)', advance='no') '|', transfer(rv(nf), 0)
      case ('a')
        na = na + 1
        write(u, '(a,a,a,a)', advance='no') '|', '[', cv(na), ']'
      end select
    end do
    write(u, '(a)') ''
  end subroutine

  ! ------------------------------------------------------------------ free format, one text
  ! list_text_cases.txt: "i|text|" or "f|text|"; the text goes into a 20-character buffer
  ! and one value is read from it, as a prompt's answer is.
  subroutine list_text_table()
    character(len=80) :: line
    character(len=20) :: buf
    integer :: u, uin, ios, iv, bar, n
    real :: r
    open(newunit=u, file='read_list_text.txt', status='replace', action='write')
    write(u, '(a)') '# kind|20-character buffer|ok, err or eof|value after the read'
    write(u, '(a)') '# start values: integer -777, real C0F8A3D7 (-7.77)'
    open(newunit=uin, file='list_text_cases.txt', status='old', action='read')
    do
      read(uin, '(a)', iostat=ios) line
      if (ios /= 0) exit
      if (line(1:1) == '#' .or. len_trim(line) == 0) cycle
      bar = index(line(3:), '|')
      n = bar - 1
      buf = line(3:2 + n)
      if (line(1:1) == 'i') then
        iv = -777
        read(buf, *, iostat=ios) iv
        call text_result(u, 'i', buf, ios)
        if (ios == 0) write(u, '(i0)') iv
        if (ios < 0) write(u, '(a)') ''
      else
        r = -7.77
        read(buf, *, iostat=ios) r
        if (ios == 0 .and. .not. ieee_is_finite(r)) cycle
        call text_result(u, 'f', buf, ios)
        if (ios == 0) write(u, '(z8.8)') transfer(r, 0)
        if (ios < 0) write(u, '(a)') ''
      end if
    end do
    close(uin)
    close(u)
  end subroutine

  subroutine text_result(u, kind, buf, ios)
    integer, intent(in) :: u, ios
    character(len=*), intent(in) :: kind, buf
    if (ios > 0) then
      write(u, '(a,a,a,a)') kind, '|', buf, '|err|'
    else if (ios < 0) then
      write(u, '(a,a,a,a)', advance='no') kind, '|', buf, '|eof|'
    else
      write(u, '(a,a,a,a)', advance='no') kind, '|', buf, '|ok|'
    end if
  end subroutine

end program
